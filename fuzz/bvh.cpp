// The BVH reader on arbitrary bytes (through a file, as clients call it).
// Beyond not crashing: whatever it accepts, the writer must turn into a
// file that reads back with the same frames.
#include "varnel.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

namespace {
int Quiet(const char*)
{
    return 1;
}

std::string ScratchPath(const char* name)
{
    return "/tmp/varnel-fuzz-bvh-" + std::to_string(getpid()) + "-" + name;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Skeleton skeleton;
    static Skeleton again;
    static bool ready = false;
    if (!ready) {
        VarnelSetMessageHandler(Quiet);
        VarnelInitSkeleton(&skeleton);
        VarnelInitSkeleton(&again);
        ready = true;
    }
    static const std::string input = ScratchPath("input.bvh");
    static const std::string output = ScratchPath("output.bvh");
    std::FILE* file = std::fopen(input.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    if (VarnelReadBVH(input.c_str(), &skeleton, 85.0f, 1.5f) != 1)
        return 0;
    if (VarnelWriteBVH(output.c_str(), &skeleton) != 1)
        std::abort();
    if (VarnelReadBVH(output.c_str(), &again, 85.0f, 1.5f) != 1 ||
        again.numFrames != skeleton.numFrames)
        std::abort();
    std::remove(output.c_str());
    return 0;
}
