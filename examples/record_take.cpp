// record_take: records a few seconds of the first Varnel suit on the network
// into a BVH file.
//
// Usage: record_take OUT.bvh [SECONDS]   (default 5)
// Build: c++ record_take.cpp $(pkg-config --cflags --libs varnel) -o record_take
//
// Exit status 0 when the take was written, 1 for no suit, no frame or a
// failed write, 2 when the suit port cannot be opened (the library has said
// why).
#include <varnel.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {
// A frame callback carries no context: the take it appends to is global.
Skeleton take;
std::atomic<bool> recording{false};

// Runs on the library's receive thread with the library lock held: append
// and return. VarnelAddFrame fails only when memory runs out.
void KeepFrame(const SkeletonFrame* pose, VarnelHandle)
{
    if (recording.load() && VarnelAddFrame(&take))
        take.frames[take.numFrames - 1] = *pose;
}
} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (argc < 2 || argc > 3 || seconds <= 0) {
        std::fprintf(stderr, "usage: record_take OUT.bvh [SECONDS]\n");
        return 2;
    }
    const char* path = argv[1];

    if (!VarnelInit())
        return 2;
    SuitInfo info;
    if (VarnelFindSuits() <= 0 || !VarnelEnumerateSuitInfo(0, &info)) {
        std::printf("No Varnel suits detected\n");
        VarnelFinish();
        return 1;
    }
    // The library calibrates the suit on its first datagram after the open:
    // the wearer stands in the null pose when the program starts.
    VarnelHandle suit = VarnelOpen(&info, KeepFrame, nullptr);
    if (!suit) {
        std::fprintf(stderr, "record_take: cannot open the suit\n");
        VarnelFinish();
        return 1;
    }

    // The take's bones are the suit's actor and its frame time the suit's
    // rate, so that the file plays back as the suit moved. Prepared before
    // the callback may touch the take.
    VarnelInitSkeleton(&take);
    VarnelFreeSkeletonFrames(&take); // the rest frame is not part of the take
    ActorData actor;
    VarnelGetActorData(suit, &actor);
    VarnelCopyActorToSkeleton(&take, &actor);
    take.frameTime = 1.0f / VarnelGetFrameRate(suit);

    std::printf("Recording \"%.15s\" for %d s\n", info.name, seconds);
    std::fflush(stdout);
    recording.store(true);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    // No callback runs after VarnelFinish returns: only then is the take ours.
    VarnelFinish();

    int status = 0;
    if (take.numFrames == 0) {
        std::fprintf(stderr, "record_take: no frame was recorded; %s not written\n", path);
        status = 1;
    } else if (VarnelWriteBVH(path, &take)) {
        std::printf("Wrote %d frames to %s\n", int(take.numFrames), path);
    } else {
        status = 1; // the library has reported why
    }
    VarnelFreeSkeletonFrames(&take);
    return status;
}
