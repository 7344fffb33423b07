// BVH writing and reading of a 100,000-frame take, each against the
// straightforward fprintf / fgets + sscanf implementation measured in the
// same run. The writer's output must match the fprintf writer's byte for byte.
#include "take_generator.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {
Skeleton& Take()
{
    static Skeleton take;
    static bool made = false;
    if (!made) {
        MakeBenchmarkTake(&take);
        made = true;
    }
    return take;
}

std::string BenchPath(const char* name)
{
    return "/tmp/varnel-bench-" + std::to_string(getpid()) + "-" + name;
}

long long FileSize(const std::string& path)
{
    struct stat status;
    return stat(path.c_str(), &status) == 0 ? (long long)status.st_size : 0;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// ---------------------------------------------------- reference writer --
void PrintOffset(std::FILE* file, const char* tabs, Vector offset)
{
    std::fprintf(file, "%sOFFSET\t%f\t%f\t%f\n", tabs, offset.x, offset.z, 0.0f - offset.y);
}

void PrintJoint(std::FILE* file, const Skeleton& s, const char* tabs, const char* inner, int node)
{
    std::fprintf(file, "%sJOINT %s\n%s{\n", tabs, s.nodes[node].name, tabs);
    PrintOffset(file, inner, s.nodes[node].offset);
    std::fprintf(file, "%sCHANNELS 3 Zrotation Xrotation Yrotation\n", inner);
}

void PrintEndSite(std::FILE* file, const Skeleton& s, const char* tabs, const char* inner, int node)
{
    std::fprintf(file, "%sEnd Site\n%s{\n", tabs, tabs);
    PrintOffset(file, inner, s.nodes[node].offset);
    std::fprintf(file, "%s}\n", tabs);
}

int FprintfWriteBVH(const char* path, const Skeleton& s)
{
    std::FILE* file = std::fopen(path, "w");
    if (!file)
        return 0;
    const char* t[] = {"",         "\t",         "\t\t",         "\t\t\t",
                       "\t\t\t\t", "\t\t\t\t\t", "\t\t\t\t\t\t", "\t\t\t\t\t\t\t"};
    std::fprintf(file, "HIERARCHY\nROOT Hips\n{\n");
    PrintOffset(file, t[1], s.nodes[NodeHips].offset);
    std::fprintf(file,
                 "\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n");
    for (int side = 0; side < 2; side++) {
        int hip = side ? NodeRightHip : NodeLeftHip;
        PrintJoint(file, s, t[1], t[2], hip);
        PrintJoint(file, s, t[2], t[3], side ? NodeRightKnee : NodeLeftKnee);
        PrintJoint(file, s, t[3], t[4], side ? NodeRightAnkle : NodeLeftAnkle);
        PrintEndSite(file, s, t[4], t[5], side ? NodeRightFootHeel : NodeLeftFootHeel);
        std::fprintf(file, "\t\t\t}\n\t\t}\n\t}\n");
    }
    PrintJoint(file, s, t[1], t[2], NodeChest);
    for (int side = 0; side < 2; side++) {
        PrintJoint(file, s, t[2], t[3], side ? NodeRightCollar : NodeLeftCollar);
        PrintJoint(file, s, t[3], t[4], side ? NodeRightShoulder : NodeLeftShoulder);
        PrintJoint(file, s, t[4], t[5], side ? NodeRightElbow : NodeLeftElbow);
        PrintJoint(file, s, t[5], t[6], side ? NodeRightWrist : NodeLeftWrist);
        PrintEndSite(file, s, t[6], t[7], side ? NodeRightHand : NodeLeftHand);
        std::fprintf(file, "\t\t\t\t\t}\n\t\t\t\t}\n\t\t\t}\n\t\t}\n");
    }
    PrintJoint(file, s, t[2], t[3], NodeNeck);
    PrintJoint(file, s, t[3], t[4], NodeHead);
    PrintEndSite(file, s, t[4], t[5], NodeTopOfHead);
    std::fprintf(file, "\t\t\t}\n\t\t}\n\t}\n}\n");
    std::fprintf(file, "MOTION\nFrames: %7d\nFrame Time: %f\n", s.numFrames, s.frameTime);
    for (int i = 0; i < s.numFrames; i++) {
        const float* c = s.frames[i].channels;
        std::fprintf(file, "%f\t%f\t%f\t", c[0], c[2], 0.0f - c[1]);
        for (int joint = 0; joint < VARNEL_NUM_JOINTS; joint++) {
            const float* a = c + 3 + 3 * joint;
            std::fprintf(file, "%f\t%f\t%f\t", 0.0f - a[1], a[0], a[2]);
        }
        std::fprintf(file, "\n");
    }
    std::fclose(file);
    return 1;
}

// ---------------------------------------------------- reference reader --
// The straightforward reader: fgets into a line buffer, strstr, sscanf, and
// a full posing per frame for the contacts.
int SscanfReadBVH(const char* path, Skeleton* skeleton)
{
    std::FILE* file = std::fopen(path, "r");
    if (!file)
        return 0;
    VarnelCopyActorToSkeleton(skeleton, nullptr);
    VarnelFreeSkeletonFrames(skeleton);
    char line[1024];
    SkeletonNode* current = nullptr;
    bool endSite = false;
    int map[57] = {0, 2, 1};
    int mapped = 3;
    static const struct {
        const char* name;
        int node;
    } names[] = {
        {"LeftUpLeg", NodeLeftHip},     {"RightUpLeg", NodeRightHip},     {"Hips", NodeHips},
        {"LeftHip", NodeLeftHip},       {"RightHip", NodeRightHip},       {"Chest", NodeChest},
        {"LeftCollar", NodeLeftCollar}, {"RightCollar", NodeRightCollar}, {"Neck", NodeNeck}};
    while (std::fgets(line, sizeof line, file)) {
        char* keyword = std::strstr(line, "JOINT");
        if (!keyword)
            keyword = std::strstr(line, "ROOT");
        if (keyword) {
            char name[256];
            if (std::sscanf(keyword + 5, "%255s", name) != 1)
                break;
            SkeletonNode* found = nullptr;
            for (const auto& entry : names)
                if (std::strcmp(entry.name, name) == 0)
                    found = &skeleton->nodes[entry.node];
            current = found ? found : current->children[0];
            endSite = false;
        } else if (std::strstr(line, "End Site")) {
            current = current->children[0];
            endSite = true;
        } else if (char* offset = std::strstr(line, "OFFSET")) {
            float x, y, z;
            std::sscanf(offset + 6, "%f%f%f", &x, &y, &z);
            current->offset = Vector(x, -z, y);
            if (!endSite)
                for (int i = 0; i < 3; i++)
                    map[mapped++] = current->channelIndex[i];
        } else if (std::strstr(line, "MOTION")) {
            break;
        }
    }
    int frames = 0;
    while (std::fgets(line, sizeof line, file))
        if (char* at = std::strstr(line, "Frames:")) {
            std::sscanf(at + 7, "%d", &frames);
            break;
        }
    while (std::fgets(line, sizeof line, file))
        if (char* at = std::strstr(line, "Frame Time:")) {
            std::sscanf(at + 11, "%f", &skeleton->frameTime);
            break;
        }
    skeleton->frames = static_cast<SkeletonFrame*>(std::malloc(size_t(frames) * 236));
    skeleton->numFrames = frames;
    for (int i = 0; i < frames; i++) {
        std::fgets(line, sizeof line, file);
        float v[57];
        const char* text = line;
        for (int j = 0; j < 57; j++) {
            int used = 0;
            std::sscanf(text, "%f%n", &v[j], &used);
            text += used;
        }
        SkeletonFrame& frame = skeleton->frames[i];
        for (int j = 0; j < 57; j++)
            frame.channels[map[j]] = v[j];
        for (int c = 1; c < 57; c += 3)
            frame.channels[c] = -frame.channels[c];
        frame.counter = 0;
        VarnelApplyFrame(skeleton, &frame, 0, 0);
        const int points[] = {NodeLeftFootHeel, NodeRightFootHeel, NodeLeftFootBall,
                              NodeRightFootBall};
        float lowest = 1e30f;
        for (int p : points)
            lowest = std::min(lowest, skeleton->nodes[p].worldPosition.z);
        frame.contacts = 0;
        for (int p = 0; p < 4; p++)
            if (skeleton->nodes[points[p]].worldPosition.z == lowest)
                frame.contacts |= 1u << p;
    }
    std::fclose(file);
    // The reference frames came from malloc; hand the library its own array.
    Skeleton copy = *skeleton;
    skeleton->frames = nullptr;
    skeleton->numFrames = 0;
    std::free(copy.frames);
    return 1;
}

void WriteVarnel(benchmark::State& state)
{
    Skeleton& take = Take();
    std::string path = BenchPath("varnel.bvh");
    for (auto _ : state)
        if (VarnelWriteBVH(path.c_str(), &take) != 1)
            state.SkipWithError("write failed");
    std::string reference = BenchPath("reference.bvh");
    FprintfWriteBVH(reference.c_str(), take);
    if (FileText(path) != FileText(reference))
        state.SkipWithError("output differs from the fprintf writer");
    long long bytes = FileSize(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
    state.counters["MB"] = double(bytes) / 1e6;
    std::remove(path.c_str());
    std::remove(reference.c_str());
}
BENCHMARK(WriteVarnel)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void WriteFprintf(benchmark::State& state)
{
    Skeleton& take = Take();
    std::string path = BenchPath("reference.bvh");
    for (auto _ : state)
        FprintfWriteBVH(path.c_str(), take);
    state.SetBytesProcessed(int64_t(state.iterations()) * FileSize(path));
    std::remove(path.c_str());
}
BENCHMARK(WriteFprintf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

long long StatusKilobytes(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::atoll(line.c_str() + std::strlen(key));
    return -1;
}

void ReadVarnel(benchmark::State& state)
{
    std::string path = BenchPath("read.bvh");
    VarnelWriteBVH(path.c_str(), &Take());
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    long long peakExtra = 0;
    for (auto _ : state) {
        state.PauseTiming();
        VarnelFreeSkeletonFrames(&skeleton);
        // Peak memory of one read: reset the high-water mark to the current size.
        std::ofstream("/proc/self/clear_refs") << "5";
        long long before = StatusKilobytes("VmRSS:");
        state.ResumeTiming();
        if (VarnelReadBVH(path.c_str(), &skeleton, 85.0f, 1.5f) != 1)
            state.SkipWithError("read failed");
        state.PauseTiming();
        peakExtra = std::max(peakExtra, StatusKilobytes("VmHWM:") - before);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * FileSize(path));
    state.counters["frames_MB"] = double(skeleton.numFrames) * sizeof(SkeletonFrame) / 1e6;
    state.counters["peak_extra_MB"] = double(peakExtra) * 1024 / 1e6;
    VarnelFreeSkeletonFrames(&skeleton);
    std::remove(path.c_str());
}
BENCHMARK(ReadVarnel)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void ReadSscanf(benchmark::State& state)
{
    std::string path = BenchPath("read-reference.bvh");
    VarnelWriteBVH(path.c_str(), &Take());
    static Skeleton skeleton;
    VarnelInitSkeleton(&skeleton);
    for (auto _ : state)
        SscanfReadBVH(path.c_str(), &skeleton);
    state.SetBytesProcessed(int64_t(state.iterations()) * FileSize(path));
    VarnelFreeSkeletonFrames(&skeleton);
    std::remove(path.c_str());
}
BENCHMARK(ReadSscanf)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
} // namespace

BENCHMARK_MAIN();
