// Reading BVH files: what the writer writes, other tools' files of the same
// body, and every way a file can be refused.
#include "skeleton/bvh_reader.h"
#include "skeleton/frame_store.h"
#include "skeleton/line_reader.h"
#include "skeleton_test_support.h"
#include "tests/support/vector_matchers.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float DefaultAngle = 85.0f;
constexpr float DefaultRatio = 1.5f;

// Six printed decimals, then float rounding.
void ExpectSameChannels(const SkeletonFrame& actual, const SkeletonFrame& expected)
{
    for (int c = 0; c < VARNEL_NUM_CHANNELS; c++)
        ASSERT_NEAR(actual.channels[c], expected.channels[c],
                    5e-7f + 1.2e-7f * std::fabs(expected.channels[c]))
            << "channel " << c;
}

// The lowest of the four foot points after a full posing.
uint32_t ExpectedContacts(Skeleton* skeleton, const SkeletonFrame& frame)
{
    VarnelApplyFrame(skeleton, &frame, 0, 0);
    const int points[] = {NodeLeftFootHeel, NodeRightFootHeel, NodeLeftFootBall, NodeRightFootBall};
    float lowest = 1e30f;
    for (int node : points)
        lowest = std::min(lowest, skeleton->nodes[node].worldPosition.z);
    uint32_t contacts = 0;
    for (int i = 0; i < 4; i++)
        if (skeleton->nodes[points[i]].worldPosition.z == lowest)
            contacts |= 1u << i;
    return contacts;
}

class BvhReader : public testing::Test {
  protected:
    // Writes the skeleton and returns the file's lines.
    std::vector<std::string> Written(Skeleton* source)
    {
        EXPECT_EQ(VarnelWriteBVH(path.c_str(), source), 1);
        return SplitLines(ReadFileText(path));
    }
    int Read(const std::string& text)
    {
        WriteFileText(path, text);
        return VarnelReadBVH(path.c_str(), skeleton.get(), DefaultAngle, DefaultRatio);
    }
    // A refused file: the message names the line, the skeleton is the
    // default rest pose again.
    void ExpectRefusedAt(const std::string& text, int64_t line)
    {
        messages.Clear();
        EXPECT_EQ(Read(text), 0);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Incorrect format in file " + path +
                                                             ", line " + std::to_string(line)});
        ExpectDefaultRestPose();
    }
    void ExpectDefaultRestPose()
    {
        ASSERT_EQ(skeleton->numFrames, 1);
        EXPECT_EQ(skeleton->frames[0].channels[2], 36.5f);
        EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftKnee].offset, Vector(0, 0, -17.5f), 0);
        EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftFootBall].offset, Vector(0, -5.5f, 0), 0);
    }

    RecordedMessages messages;
    ScratchFolder scratch;
    std::string path = scratch.Path("take.bvh");
    OwnedSkeleton source;
    OwnedSkeleton skeleton;
};
} // namespace

TEST_F(BvhReader, WrittenTakeReadsBack)
{
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    actor.bones[BoneLeftUpperLeg] = 18.25f;
    actor.bones[BoneSpine] = 20.125f;
    VarnelCopyActorToSkeleton(source.get(), &actor);
    FillTake(source.get(), 1500);
    Written(source.get());

    ASSERT_EQ(VarnelReadBVH(path.c_str(), skeleton.get(), DefaultAngle, DefaultRatio), 1);
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_EQ(skeleton->numFrames, 1500);
    EXPECT_EQ(skeleton->frameTime, 0.033333f);
    for (int i = 0; i < VARNEL_NUM_NODES; i++) {
        if (i == NodeLeftFootBall || i == NodeRightFootBall)
            continue;
        EXPECT_VECTOR_NEAR(skeleton->nodes[i].offset, source->nodes[i].offset, 0)
            << skeleton->nodes[i].name;
    }
    // The balls come from the options: 85 degrees, 1.5 times the heel's length.
    const float heel = std::sqrt(14.5f);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftFootBall].offset, Vector(0, -5.690f, 0.498f), 1e-3f);
    EXPECT_NEAR(skeleton->nodes[NodeRightFootBall].offset.Length(), 1.5f * heel, 1e-5f);

    std::vector<SkeletonFrame> frames(skeleton->frames, skeleton->frames + 1500);
    bool sawSeveralContacts = false;
    for (int i = 0; i < 1500; i++) {
        SCOPED_TRACE(i);
        ExpectSameChannels(frames[i], source->frames[i]);
        EXPECT_EQ(frames[i].counter, 0);
        EXPECT_EQ(frames[i].contacts, ExpectedContacts(skeleton.get(), frames[i]));
        sawSeveralContacts |= frames[i].contacts != frames[0].contacts;
    }
    EXPECT_TRUE(sawSeveralContacts);
    // The skeleton is left in the last frame's pose.
    VarnelApplyFrame(skeleton.get(), &frames[1499], 0, 0);
    Vector hand = skeleton->nodes[NodeRightHand].worldPosition;
    ASSERT_EQ(VarnelReadBVH(path.c_str(), skeleton.get(), DefaultAngle, DefaultRatio), 1);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeRightHand].worldPosition, hand, 0);
}

TEST_F(BvhReader, ContactsMarkTheLowestFootPoints)
{
    ASSERT_EQ(VarnelAddFrame(source.get()), 1);
    source->frames[1] = source->frames[0];
    source->frames[1].channels[12] = 30.0f; // left ankle: the toe goes down
    Written(source.get());
    ASSERT_EQ(VarnelReadBVH(path.c_str(), skeleton.get(), DefaultAngle, DefaultRatio), 1);
    EXPECT_EQ(skeleton->frames[0].contacts, unsigned(ContactLeftFootHeel | ContactRightFootHeel));
    EXPECT_EQ(skeleton->frames[1].contacts, unsigned(ContactLeftFootBall));
}

TEST_F(BvhReader, OtherNamesAndBranchOrderMapToTheirOwnChannels)
{
    FillTake(source.get(), 3);
    std::vector<std::string> lines = Written(source.get());
    int leftLeg = LineOf(lines, "\tJOINT LeftHip");
    int rightLeg = LineOf(lines, "\tJOINT RightHip");
    int chest = LineOf(lines, "\tJOINT Chest");
    int motion = LineOf(lines, "MOTION");
    auto block = [&](int first, int next) {
        return std::vector<std::string>(lines.begin() + first - 1, lines.begin() + next - 1);
    };
    std::vector<std::string> permuted(lines.begin(), lines.begin() + leftLeg - 1);
    for (auto part : {block(chest, motion - 1), block(rightLeg, chest), block(leftLeg, rightLeg)})
        permuted.insert(permuted.end(), part.begin(), part.end());
    permuted.insert(permuted.end(), lines.begin() + motion - 2, lines.begin() + motion + 2);
    for (auto& name : permuted) {
        if (name.find("JOINT LeftHip") != std::string::npos)
            name.replace(name.find("LeftHip"), 7, "LeftUpLeg");
        if (name.find("JOINT RightHip") != std::string::npos)
            name.replace(name.find("RightHip"), 8, "RightUpLeg");
        if (name.find("JOINT LeftKnee") != std::string::npos)
            name.replace(name.find("LeftKnee"), 8, "LeftLowLeg");
        if (name.find("JOINT Head") != std::string::npos)
            name.replace(name.find("Head"), 4, "Noggin");
    }
    // Values in the new order: position and hips, chest subtree, right leg, left leg.
    for (int i = 0; i < 3; i++) {
        std::vector<std::string> values;
        std::string line = lines[size_t(motion + 2 + i)];
        for (size_t start = 0, tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1)
            values.push_back(line.substr(start, tab - start));
        ASSERT_EQ(values.size(), 57u);
        std::string reordered;
        auto append = [&](int first, int count) {
            for (int v = first; v < first + count; v++)
                reordered += values[size_t(v)] + " ";
        };
        append(0, 6);
        append(24, 33);
        append(15, 9);
        append(6, 9);
        permuted.push_back(reordered);
    }
    ASSERT_EQ(Read(JoinLines(permuted)), 1) << messages.Texts().front();
    ASSERT_EQ(skeleton->numFrames, 3);
    for (int i = 0; i < 3; i++)
        ExpectSameChannels(skeleton->frames[i], source->frames[i]);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftKnee].offset, Vector(0, 0, -17.5f), 0);
}

TEST_F(BvhReader, RefusedHierarchiesNameTheirLine)
{
    std::vector<std::string> lines = Written(source.get());
    auto edited = [&](auto change) {
        std::vector<std::string> copy = lines;
        change(copy);
        return JoinLines(copy);
    };
    auto insertAfter = [](std::vector<std::string>& copy, int line,
                          std::vector<std::string> added) {
        copy.insert(copy.begin() + line, added.begin(), added.end());
    };

    ExpectRefusedAt(edited([](auto& copy) { copy[1] = "ROOT Pelvis"; }), 2);

    // A toe below the ankle lands on the heel, which has no channels.
    int ankleChannels = LineOf(lines, "CHANNELS", LineOf(lines, "JOINT LeftAnkle"));
    ExpectRefusedAt(edited([&](auto& copy) {
                        insertAfter(copy, ankleChannels,
                                    {"\t\t\t\tJOINT LeftToe", "\t\t\t\t{", "\t\t\t\t\tOFFSET 0 0 1",
                                     "\t\t\t\t\tCHANNELS 3 Zrotation Xrotation Yrotation",
                                     "\t\t\t\t}"});
                    }),
                    ankleChannels + 3);

    // A branch joint named twice: an extra Neck maps a 58th value.
    int lastClose = LineOf(lines, "MOTION") - 1;
    ExpectRefusedAt(
        edited([&](auto& copy) {
            insertAfter(copy, lastClose - 1, {"\tJOINT Neck", "\t{", "\t\tOFFSET 0 1 0", "\t}"});
        }),
        lastClose + 2);

    // The left leg given twice instead of the right: the count is right, but
    // the right leg's channels would stay unread.
    int rightHip = LineOf(lines, "JOINT RightHip");
    ExpectRefusedAt(edited([&](auto& copy) { copy[size_t(rightHip - 1)] = "\tJOINT LeftHip"; }),
                    rightHip + 2);

    // A joint too few: the head's block is missing.
    int head = LineOf(lines, "JOINT Head");
    ExpectRefusedAt(edited([&](auto& copy) {
                        copy.erase(copy.begin() + head - 1, copy.begin() + head + 3);
                        copy.erase(copy.begin() + head + 3);
                    }),
                    LineOf(lines, "MOTION") - 5);

    // Channels in another order or number.
    ExpectRefusedAt(edited([](auto& copy) {
                        copy[4] = "\tCHANNELS 6 Xposition Yposition Zposition Yrotation Xrotation "
                                  "Zrotation";
                    }),
                    5);
    int kneeChannels = LineOf(lines, "CHANNELS", LineOf(lines, "JOINT RightKnee"));
    ExpectRefusedAt(edited([&](auto& copy) {
                        copy[size_t(kneeChannels - 1)] = "\t\t\tCHANNELS 3 Zrotation Xrotation";
                    }),
                    kneeChannels);
    ExpectRefusedAt(edited([&](auto& copy) {
                        copy[size_t(kneeChannels - 1)] =
                            "\t\t\tCHANNELS 3 Xrotation Yrotation Zrotation";
                    }),
                    kneeChannels);
    // The channel names' case does not matter.
    EXPECT_EQ(Read(edited([&](auto& copy) {
                  copy[size_t(kneeChannels - 1)] = "\t\t\tCHANNELS 3 zROTATION xrotation Yrotation";
              })),
              1);

    ExpectRefusedAt(edited([](auto& copy) { copy.resize(30); }), 31);
}

TEST_F(BvhReader, RefusedMotionNamesItsLine)
{
    FillTake(source.get(), 10);
    std::vector<std::string> lines = Written(source.get());
    int frameTime = LineOf(lines, "Frame Time:");

    std::vector<std::string> nine(lines.begin(), lines.end() - 1);
    ExpectRefusedAt(JoinLines(nine), int(lines.size()));

    std::vector<std::string> shortLine = lines;
    shortLine[size_t(frameTime + 3)].resize(
        shortLine[size_t(frameTime + 3)].rfind('\t', shortLine[size_t(frameTime + 3)].size() - 2));
    ExpectRefusedAt(JoinLines(shortLine), frameTime + 4);

    for (const char* bad : {"nan", "inf", "1e39", "x"}) {
        std::vector<std::string> notANumber = lines;
        notANumber[size_t(frameTime + 1)] =
            std::string(bad) + "\t" + notANumber[size_t(frameTime + 1)];
        notANumber[size_t(frameTime + 1)].resize(notANumber[size_t(frameTime + 1)].rfind('\t'));
        ExpectRefusedAt(JoinLines(notANumber), frameTime + 2);
    }

    std::vector<std::string> negative = lines;
    negative[size_t(frameTime - 2)] = "Frames: -3";
    ExpectRefusedAt(JoinLines(negative), frameTime - 1);

    // A header that promises far more frames than the file holds.
    std::vector<std::string> promised = lines;
    promised[size_t(frameTime - 2)] = "Frames: 2000000000";
    ExpectRefusedAt(JoinLines(promised), int(lines.size()) + 1);

    std::vector<std::string> noTime(lines.begin(), lines.begin() + frameTime - 1);
    ExpectRefusedAt(JoinLines(noTime), frameTime);
}

TEST_F(BvhReader, ZeroFramesAndTextVariants)
{
    std::string zero =
        ReadFileText(SourcePath("tests/data/golden/bvh/default_zero_frames/expected.bvh"));
    ASSERT_EQ(Read(zero), 1);
    EXPECT_EQ(skeleton->numFrames, 0);
    EXPECT_EQ(skeleton->frames, nullptr);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeRightElbow].offset, Vector(0, 0, -12), 0);

    FillTake(source.get(), 4);
    std::vector<std::string> lines = Written(source.get());
    // CR LF line ends, and lines of thousands of characters.
    std::string crlf;
    for (const std::string& line : lines)
        crlf += line + "\r\n";
    std::string wide;
    for (std::string line : lines) {
        if (line.find("JOINT") != std::string::npos)
            line += std::string(3000, ' ');
        size_t tab;
        while (line.size() < 3000 && (tab = line.find('\t', line.size() / 2)) != std::string::npos)
            line.replace(tab, 1, std::string(200, ' ') + "\t");
        wide += line + "\n";
    }
    wide.pop_back(); // and no line end on the last line
    for (const std::string& text : {crlf, wide}) {
        ASSERT_EQ(Read(text), 1) << messages.Texts().front();
        ASSERT_EQ(skeleton->numFrames, 4);
        for (int i = 0; i < 4; i++)
            ExpectSameChannels(skeleton->frames[i], source->frames[i]);
        EXPECT_STREQ(skeleton->nodes[NodeLeftKnee].name, "LeftKnee");
        EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftKnee].offset, Vector(0, 0, -17.5f), 0);
    }
}

TEST_F(BvhReader, ALineLongerThanTheLimitIsRefusedAtItsNumber)
{
    std::vector<std::string> lines = Written(source.get());
    int joint = LineOf(lines, "JOINT Head");
    auto padded = [&](size_t length) {
        std::vector<std::string> copy = lines;
        copy[size_t(joint - 1)].resize(length, ' ');
        return JoinLines(copy);
    };
    EXPECT_EQ(Read(padded(MaxLineLength)), 1);
    ExpectRefusedAt(padded(MaxLineLength + 1), joint);
}

TEST_F(BvhReader, LineNumbersPastTwoToThe31Print)
{
    SetBvhFirstLineNumberForTesting(int64_t(1) << 31);
    ExpectRefusedAt("HIERARCHY\nROOT Pelvis\n", 2147483649);
    SetBvhFirstLineNumberForTesting(1);
}

TEST_F(BvhReader, UnopenableFileLeavesTheSkeletonAlone)
{
    skeleton->nodes[NodeLeftKnee].offset = Vector(1, 2, 3);
    EXPECT_EQ(VarnelReadBVH(scratch.Path("absent.bvh").c_str(), skeleton.get(), 85, 1.5f), 0);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(skeleton->numFrames, 1);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftKnee].offset, Vector(1, 2, 3), 0);
}

namespace {
void* NoMemory(void*, size_t)
{
    return nullptr;
}
} // namespace

TEST_F(BvhReader, FramesWithoutMemoryKeepTheOffsets)
{
    source->nodes[NodeLeftKnee].offset = Vector(0, 0, -19);
    FillTake(source.get(), 5);
    Written(source.get());
    SetFrameReallocatorForTesting(NoMemory);
    int result = VarnelReadBVH(path.c_str(), skeleton.get(), DefaultAngle, DefaultRatio);
    SetFrameReallocatorForTesting(nullptr);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Not enough memory for frames"});
    EXPECT_EQ(skeleton->numFrames, 0);
    EXPECT_EQ(skeleton->frames, nullptr);
    EXPECT_VECTOR_NEAR(skeleton->nodes[NodeLeftKnee].offset, Vector(0, 0, -19), 0);
}

TEST_F(BvhReader, FilesFromOtherTools)
{
    std::string folder = SourcePath("tests/data/external-bvh/");
    for (const char* name : {"bvhio_example.bvh", "bvhio_example_0cbbe2d.bvh"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(VarnelReadBVH((folder + name).c_str(), skeleton.get(), 85, 1.5f), 1);
        ASSERT_EQ(skeleton->numFrames, 2);
        EXPECT_EQ(skeleton->frameTime, 0.033333f);
        EXPECT_VECTOR_NEAR(skeleton->nodes[NodeChest].offset, Vector(0, 0, 5.21f), 0);
        const float* first = skeleton->frames[0].channels;
        EXPECT_VECTOR_NEAR(Vector(first[0], first[1], first[2]), Vector(8.03f, -88.36f, 35.01f), 0);
        // The file's Z, X, Y turns are the skeleton's -Y, X, Z.
        EXPECT_EQ(first[4], 3.41f);
        EXPECT_EQ(first[3], 14.78f);
        EXPECT_EQ(first[5], -164.35f);
    }
    const std::pair<const char*, int> refused[] = {
        {"cmu_12_01_walk.bvh", 5},      {"full_precision_frame_time.bvh", 5},
        {"pybvh_bvh_test2.bvh", 5},     {"pybvh_bvh_test3.bvh", 5},
        {"rotation_first_root.bvh", 5}, {"test_mocapbank.bvh", 16},
        {"test_simple.bvh", 2},
    };
    for (const auto& [name, line] : refused) {
        messages.Clear();
        std::string file = folder + name;
        EXPECT_EQ(VarnelReadBVH(file.c_str(), skeleton.get(), 85, 1.5f), 0);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Incorrect format in file " + file +
                                                             ", line " + std::to_string(line)});
        ExpectDefaultRestPose();
    }
}
