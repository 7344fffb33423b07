// VarnelWriteBVH: the fixed 18-joint hierarchy and one line per frame, in
// file axes (Y up): a skeleton vector (x, y, z) is written as (x, z, -y).
#include "platform/atomic_file.h"
#include "skeleton/fixed_format.h"
#include "skeleton/skeleton_table.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
// Negation that turns +0 into +0, not -0: a negated zero then reads as what
// it is in other tools too.
float Negated(float value)
{
    return 0.0f - value;
}

// The reader refuses NaN and infinity, so they are never written: such a
// number becomes 0, or in a frame that channel's last finite value.
float Writable(float value, float fallback = 0.0f)
{
    return std::isfinite(value) ? value : fallback;
}

class TextBuffer {
  public:
    explicit TextBuffer(AtomicFile* file) : file(file) {}
    ~TextBuffer() { Flush(); }

    void Append(const char* text, size_t length)
    {
        if (used + length > sizeof buffer)
            Flush();
        std::memcpy(buffer + used, text, length);
        used += length;
    }
    void Append(const char* text) { Append(text, std::strlen(text)); }
    void Tabs(int count)
    {
        for (int i = 0; i < count; i++)
            Append("\t", 1);
    }
    // "%f" and a tab.
    void Number(float value)
    {
        if (used + FixedFloatMaxLength + 1 > sizeof buffer)
            Flush();
        used += FormatFixed6(value, buffer + used);
        buffer[used++] = '\t';
    }
    void Offset(int depth, Vector offset)
    {
        Tabs(depth);
        Append("OFFSET");
        for (float value : {Writable(offset.x), Writable(offset.z), Negated(Writable(offset.y))}) {
            Append("\t", 1);
            if (used + FixedFloatMaxLength > sizeof buffer)
                Flush();
            used += FormatFixed6(value, buffer + used);
        }
        Append("\n", 1);
    }
    void Flush()
    {
        file->Write(buffer, used);
        used = 0;
    }

  private:
    AtomicFile* file;
    size_t used = 0;
    char buffer[64 * 1024];
};

struct JointBlock {
    int node;
    int depth;
    int endSite;     // node whose offset the end site carries, or -1
    int closeDownTo; // after the end site, "}" lines down to this depth
};

const JointBlock Blocks[] = {
    {NodeLeftHip, 1, -1, 0},
    {NodeLeftKnee, 2, -1, 0},
    {NodeLeftAnkle, 3, NodeLeftFootHeel, 1},
    {NodeRightHip, 1, -1, 0},
    {NodeRightKnee, 2, -1, 0},
    {NodeRightAnkle, 3, NodeRightFootHeel, 1},
    {NodeChest, 1, -1, 0},
    {NodeLeftCollar, 2, -1, 0},
    {NodeLeftShoulder, 3, -1, 0},
    {NodeLeftElbow, 4, -1, 0},
    {NodeLeftWrist, 5, NodeLeftHand, 2},
    {NodeRightCollar, 2, -1, 0},
    {NodeRightShoulder, 3, -1, 0},
    {NodeRightElbow, 4, -1, 0},
    {NodeRightWrist, 5, NodeRightHand, 2},
    {NodeNeck, 2, -1, 0},
    {NodeHead, 3, NodeTopOfHead, 0},
};

void WriteHierarchy(TextBuffer& out, const Skeleton* skeleton)
{
    const SkeletonNode* nodes = skeleton->nodes;
    out.Append("HIERARCHY\nROOT Hips\n{\n");
    out.Offset(1, nodes[NodeHips].offset);
    out.Append("\tCHANNELS 6 Xposition Yposition Zposition Zrotation Xrotation Yrotation\n");
    for (const JointBlock& block : Blocks) {
        out.Tabs(block.depth);
        out.Append("JOINT ");
        out.Append(nodes[block.node].name, strnlen(nodes[block.node].name, 16));
        out.Append("\n");
        out.Tabs(block.depth);
        out.Append("{\n");
        out.Offset(block.depth + 1, nodes[block.node].offset);
        out.Tabs(block.depth + 1);
        out.Append("CHANNELS 3 Zrotation Xrotation Yrotation\n");
        if (block.endSite < 0)
            continue;
        out.Tabs(block.depth + 1);
        out.Append("End Site\n");
        out.Tabs(block.depth + 1);
        out.Append("{\n");
        out.Offset(block.depth + 2, nodes[block.endSite].offset);
        out.Tabs(block.depth + 1);
        out.Append("}\n");
        for (int depth = block.depth; depth >= block.closeDownTo; depth--) {
            out.Tabs(depth);
            out.Append("}\n");
        }
    }
}

void WriteMotion(TextBuffer& out, const Skeleton* skeleton)
{
    // A negative count would be a line the reader refuses.
    int32_t frames = skeleton->frames && skeleton->numFrames > 0 ? skeleton->numFrames : 0;
    char header[64];
    int length =
        std::snprintf(header, sizeof header, "MOTION\nFrames: %7d\nFrame Time: ", int(frames));
    out.Append(header, size_t(length));
    char frameTime[FixedFloatMaxLength];
    out.Append(frameTime, FormatFixed6(Writable(skeleton->frameTime), frameTime));
    out.Append("\n", 1);

    float lastFinite[VARNEL_NUM_CHANNELS] = {};
    for (int32_t i = 0; i < frames; i++) {
        float channel[VARNEL_NUM_CHANNELS];
        for (int c = 0; c < VARNEL_NUM_CHANNELS; c++)
            channel[c] = lastFinite[c] = Writable(skeleton->frames[i].channels[c], lastFinite[c]);
        out.Number(channel[0]);
        out.Number(channel[2]);
        out.Number(Negated(channel[1]));
        // The frame's joints are already in file order: X, Y, Z angles from
        // channel 3 on, written as -Y, X, Z.
        for (int joint = 0; joint < VARNEL_NUM_JOINTS; joint++) {
            const float* angle = channel + 3 + 3 * joint;
            out.Number(Negated(angle[1]));
            out.Number(angle[0]);
            out.Number(angle[2]);
        }
        out.Append("\n", 1);
    }
}

void Report(const char* format, const char* path)
{
    std::string text(std::strlen(format) + std::strlen(path), '\0');
    std::snprintf(text.data(), text.size() + 1, format, path);
    VarnelMessageBox(text.c_str());
}
} // namespace

int VarnelWriteBVH(const char* path, const Skeleton* skeleton)
{
    AtomicFile file;
    switch (file.Open(path)) {
    case AtomicFileOpen::Opened: break;
    case AtomicFileOpen::CannotOpen: Report("Can't open file %s", path ? path : ""); return 0;
    case AtomicFileOpen::CannotWrite: Report("Can't write file %s", path ? path : ""); return 0;
    }
    {
        TextBuffer out(&file);
        WriteHierarchy(out, skeleton);
        WriteMotion(out, skeleton);
    }
    if (!file.Commit()) {
        Report("Can't write file %s", path);
        return 0;
    }
    return 1;
}
