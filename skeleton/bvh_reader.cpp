// VarnelReadBVH: a BVH file of the 18-joint body onto the fixed node table.
// File triples (X, Y, Z) are Y-up and become (X, -Z, Y).
#include "skeleton/bvh_reader.h"
#include "common/bvh_joint_names.h"
#include "common/units.h"
#include "skeleton/frame_store.h"
#include "skeleton/line_reader.h"
#include "skeleton/pose.h"
#include "skeleton/skeleton_table.h"
#include "skeleton/text_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {
int64_t firstLineNumber = 1;

enum class ReadResult { Read, FormatError, NoMemory };

bool Contains(std::string_view line, std::string_view keyword, std::string_view* after = nullptr)
{
    size_t at = line.find(keyword);
    if (at == std::string_view::npos)
        return false;
    if (after)
        *after = line.substr(at + keyword.size());
    return true;
}

// The joint name of a JOINT or ROOT line: it starts five characters after
// the keyword's first letter, past blanks, and ends at a blank.
std::string_view JointNameOf(std::string_view line, size_t keywordAt)
{
    if (keywordAt + 5 > line.size())
        return {};
    std::string_view rest = line.substr(keywordAt + 5);
    size_t start = rest.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    rest.remove_prefix(start);
    return rest.substr(0, rest.find_first_of(" \t\n"));
}

// A joint declares "3 Zrotation Xrotation Yrotation", the root six channels
// with the position first; any other layout would put values on wrong axes.
bool ChannelsAsExpected(std::string_view declaration, bool root)
{
    int count;
    if (!ScanInt(&declaration, &count) || count != (root ? 6 : 3))
        return false;
    for (int i = root ? 0 : 3; i < 6; i++)
        if (!SameIgnoringCase(NextWord(&declaration), BvhRootChannels[i]))
            return false;
    return NextWord(&declaration).empty();
}

void RebuildFootBall(SkeletonNode* heel, SkeletonNode* ball, float angle, float ratio)
{
    float length = heel->offset.Length();
    float a = angle * DegreesToRadians;
    ball->offset = Vector(0.0f, -std::sin(a) * ratio * length, std::cos(a) * ratio * length);
}

uint32_t LowestFootPoints(const Skeleton* skeleton)
{
    struct FootPoint {
        int node;
        uint32_t bit;
    };
    static const FootPoint Points[] = {{NodeLeftFootHeel, ContactLeftFootHeel},
                                       {NodeLeftFootBall, ContactLeftFootBall},
                                       {NodeRightFootHeel, ContactRightFootHeel},
                                       {NodeRightFootBall, ContactRightFootBall}};
    float lowest = skeleton->nodes[Points[0].node].worldPosition.z;
    for (const FootPoint& point : Points)
        lowest = std::min(lowest, skeleton->nodes[point.node].worldPosition.z);
    uint32_t contacts = 0;
    for (const FootPoint& point : Points)
        if (skeleton->nodes[point.node].worldPosition.z == lowest)
            contacts |= point.bit;
    return contacts;
}

class BvhReader {
  public:
    // lineNumber outlives the reader, for the message after a failed allocation.
    BvhReader(std::FILE* file, Skeleton* skeleton, int64_t* lineNumber)
        : lines(file), skeleton(skeleton), lineNumber(*lineNumber)
    {
    }

    ReadResult Read(float ankleHeelBallAngle, float ballToHeelRatio);

  private:
    bool NextLine()
    {
        lineNumber++;
        return lines.Next(&line);
    }
    bool ReadHierarchy();
    bool ReadJointLine(size_t keywordAt);
    bool ReadOffsetLine(std::string_view numbers);
    bool SkipTo(std::string_view keyword, std::string_view* after);
    bool ReadFrame(SkeletonFrame* frame);

    LineReader lines;
    Skeleton* skeleton;
    std::string_view line;
    int64_t& lineNumber;
    SkeletonNode* current = nullptr;
    bool inEndSite = false;
    bool mappedNode[VARNEL_NUM_JOINTS] = {};
    int channelMap[VARNEL_NUM_CHANNELS] = {0, 2, 1};
    int mappedValues = 3;
};

bool BvhReader::ReadJointLine(size_t keywordAt)
{
    std::string_view name = JointNameOf(line, keywordAt);
    if (name.empty())
        return false;
    inEndSite = false;
    for (const BvhBranchJoint& joint : BvhBranchJoints) {
        if (joint.name == name) {
            current = &skeleton->nodes[joint.node];
            return true;
        }
    }
    if (!current)
        return false;
    current = current->numChildren > 0 ? current->children[0] : nullptr;
    return true;
}

bool BvhReader::ReadOffsetLine(std::string_view numbers)
{
    if (!current)
        return false;
    float x, y, z;
    if (!ScanFloat(&numbers, &x) || !ScanFloat(&numbers, &y) || !ScanFloat(&numbers, &z))
        return false;
    current->offset = Vector(x, -z, y);
    if (inEndSite)
        return true;
    // An end point reached as a joint has no channels; a joint mapped twice
    // would leave another joint's channels unread.
    int node = int(current - skeleton->nodes);
    if (!current->hasChannels || mappedNode[node] || mappedValues + 3 > VARNEL_NUM_CHANNELS)
        return false;
    mappedNode[node] = true;
    for (int i = 0; i < 3; i++)
        channelMap[mappedValues++] = current->channelIndex[i];
    return true;
}

bool BvhReader::ReadHierarchy()
{
    while (NextLine()) {
        std::string_view after;
        size_t keywordAt = line.find("JOINT");
        if (keywordAt == std::string_view::npos)
            keywordAt = line.find("ROOT");
        if (keywordAt != std::string_view::npos) {
            if (!ReadJointLine(keywordAt))
                return false;
        } else if (Contains(line, "End Site")) {
            if (!current)
                return false;
            current = current->numChildren > 0 ? current->children[0] : nullptr;
            inEndSite = true;
        } else if (Contains(line, "OFFSET", &after)) {
            if (!ReadOffsetLine(after))
                return false;
        } else if (Contains(line, "MOTION")) {
            return mappedValues == VARNEL_NUM_CHANNELS;
        } else if (Contains(line, "CHANNELS", &after)) {
            if (!current || inEndSite ||
                !ChannelsAsExpected(after, current == &skeleton->nodes[NodeHips]))
                return false;
        }
    }
    return false;
}

bool BvhReader::SkipTo(std::string_view keyword, std::string_view* after)
{
    while (NextLine())
        if (Contains(line, keyword, after))
            return true;
    return false;
}

bool BvhReader::ReadFrame(SkeletonFrame* frame)
{
    if (!NextLine())
        return false;
    std::string_view numbers = line;
    float* channels = frame->channels;
    for (int value = 0; value < VARNEL_NUM_CHANNELS; value++)
        if (!ScanFloat(&numbers, &channels[channelMap[value]]))
            return false;
    // Y-up file axes back to the skeleton's: negate the y position and every
    // Y angle.
    for (int channel = 1; channel < VARNEL_NUM_CHANNELS; channel += 3)
        channels[channel] = -channels[channel];
    frame->counter = 0;
    frame->contacts = 0;
    PoseLegs(skeleton, frame);
    frame->contacts = LowestFootPoints(skeleton);
    return true;
}

ReadResult BvhReader::Read(float ankleHeelBallAngle, float ballToHeelRatio)
{
    BuildNodeTable(skeleton);
    if (!ReadHierarchy())
        return ReadResult::FormatError;

    SkeletonNode* nodes = skeleton->nodes;
    RebuildFootBall(&nodes[NodeLeftFootHeel], &nodes[NodeLeftFootBall], ankleHeelBallAngle,
                    ballToHeelRatio);
    RebuildFootBall(&nodes[NodeRightFootHeel], &nodes[NodeRightFootBall], ankleHeelBallAngle,
                    ballToHeelRatio);

    std::string_view after;
    int declared;
    if (!SkipTo("Frames:", &after) || !ScanInt(&after, &declared) || declared < 0)
        return ReadResult::FormatError;
    float frameTime;
    if (!SkipTo("Frame Time:", &after) || !ScanFloat(&after, &frameTime))
        return ReadResult::FormatError;
    skeleton->frameTime = frameTime;

    // Every value takes at least one byte, so a file can hold no more frames
    // than this: a header that claims more allocates no more.
    int room = declared;
    long long remaining = lines.RemainingBytes();
    if (remaining >= 0 && remaining / VARNEL_NUM_CHANNELS + 1 < room)
        room = int(remaining / VARNEL_NUM_CHANNELS + 1);
    if (!AllocateFrames(skeleton, room))
        return ReadResult::NoMemory;

    for (int i = 0; i < declared; i++)
        if (i >= room || !ReadFrame(&skeleton->frames[i]))
            return ReadResult::FormatError;
    if (declared > 0)
        VarnelApplyFrame(skeleton, &skeleton->frames[declared - 1], 0, 0);
    return ReadResult::Read;
}

void Report(const std::string& text)
{
    VarnelMessageBox(text.c_str());
}
} // namespace

int VarnelReadBVH(const char* path, Skeleton* skeleton, float ankleHeelBallAngle,
                  float ballToHeelRatio)
{
    std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return 0;
    ReadResult result;
    int64_t lineNumber = firstLineNumber - 1;
    try {
        BvhReader reader(file, skeleton, &lineNumber);
        result = reader.Read(ankleHeelBallAngle, ballToHeelRatio);
    } catch (const std::bad_alloc&) {
        // A line too long to hold in memory, below the reader's limit.
        result = ReadResult::FormatError;
    }
    std::fclose(file);

    switch (result) {
    case ReadResult::Read: return 1;
    case ReadResult::NoMemory:
        VarnelFreeSkeletonFrames(skeleton);
        Report("Not enough memory for frames");
        return 0;
    case ReadResult::FormatError: break;
    }
    Report("Incorrect format in file " + std::string(path) + ", line " +
           std::to_string(lineNumber));
    VarnelFreeSkeletonFrames(skeleton);
    VarnelInitSkeleton(skeleton);
    return 0;
}

void SetBvhFirstLineNumberForTesting(int64_t first)
{
    firstLineNumber = first;
}
