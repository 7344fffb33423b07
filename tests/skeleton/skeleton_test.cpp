// The node table, the rest pose and forward kinematics.
#include "skeleton/frame_store.h"
#include "skeleton_test_support.h"
#include "tests/support/vector_matchers.h"

#include <cstring>

namespace {
SkeletonFrame ZeroFrame()
{
    SkeletonFrame frame;
    std::memset(&frame, 0, sizeof frame);
    return frame;
}

const SkeletonNode& Node(Skeleton* skeleton, int index)
{
    return skeleton->nodes[index];
}
} // namespace

TEST(Skeleton, InitBuildsTheDefaultBodyStandingOnTheFloor)
{
    Skeleton skeleton;
    std::memset(&skeleton, 0xA5, sizeof skeleton); // garbage must not be freed
    VarnelInitSkeleton(&skeleton);
    ASSERT_EQ(skeleton.numFrames, 1);
    EXPECT_EQ(skeleton.frameTime, 0.033333335f);
    const SkeletonFrame& rest = skeleton.frames[0];
    EXPECT_EQ(rest.counter, 0);
    EXPECT_EQ(rest.contacts, 0u);
    for (int c = 0; c < VARNEL_NUM_CHANNELS; c++)
        EXPECT_EQ(rest.channels[c], c == 2 ? 36.5f : 0.0f) << "channel " << c;

    EXPECT_STREQ(Node(&skeleton, NodeRightFootBall).name, "RightFootBall");
    EXPECT_EQ(Node(&skeleton, NodeHips).numChildren, 3);
    EXPECT_EQ(Node(&skeleton, NodeHips).children[2], &skeleton.nodes[NodeChest]);
    EXPECT_EQ(Node(&skeleton, NodeChest).children[2], &skeleton.nodes[NodeNeck]);
    EXPECT_EQ(Node(&skeleton, NodeTopOfHead).numChildren, 0);
    EXPECT_EQ(Node(&skeleton, NodeTopOfHead).children[0], nullptr);
    EXPECT_EQ(Node(&skeleton, NodeLeftFootHeel).hasChannels, 0);
    // Y, X, Z channel numbers.
    const int32_t* hips = Node(&skeleton, NodeHips).channelIndex;
    EXPECT_EQ(hips[0], 4);
    EXPECT_EQ(hips[1], 3);
    EXPECT_EQ(hips[2], 5);
    const int32_t* rightCollar = Node(&skeleton, NodeRightCollar).channelIndex;
    EXPECT_EQ(rightCollar[1], 39);
    const int32_t* head = Node(&skeleton, NodeHead).channelIndex;
    EXPECT_EQ(head[1], 54);

    VarnelApplyFrame(&skeleton, &rest, 0, 0);
    EXPECT_VECTOR_NEAR(Node(&skeleton, NodeHips).worldPosition, Vector(0, 0, 36.5f), 1e-5f);
    EXPECT_VECTOR_NEAR(Node(&skeleton, NodeLeftHip).worldPosition, Vector(5, 0, 36.5f), 1e-5f);
    EXPECT_NEAR(Node(&skeleton, NodeLeftFootHeel).worldPosition.z, 0.0f, 1e-5f);
    EXPECT_NEAR(Node(&skeleton, NodeRightFootHeel).worldPosition.z, 0.0f, 1e-5f);
    EXPECT_VECTOR_NEAR(Node(&skeleton, NodeLeftFootBall).worldPosition, Vector(5, -4, 0), 1e-5f);
    VarnelFreeSkeletonFrames(&skeleton);
}

TEST(Skeleton, ShoulderTurnsMoveTheElbowForwardAndBack)
{
    OwnedSkeleton skeleton;
    SkeletonFrame frame = ZeroFrame();
    const float upperArm = 12.0f;

    frame.channels[30] = -90.0f;
    VarnelApplyFrame(skeleton.get(), &frame, 0, 0);
    Vector shoulder = Node(skeleton.get(), NodeLeftShoulder).worldPosition;
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftElbow).worldPosition,
                       shoulder + Vector(0, -upperArm, 0), 1e-4f);

    frame.channels[30] = 90.0f;
    VarnelApplyFrame(skeleton.get(), &frame, 0, 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftElbow).worldPosition,
                       shoulder + Vector(0, upperArm, 0), 1e-4f);

    // A turn about the arm's own axis moves no node, only rotations below.
    SkeletonFrame straight = ZeroFrame();
    VarnelApplyFrame(skeleton.get(), &straight, 0, 0);
    Skeleton before = *skeleton.get();
    frame = ZeroFrame();
    frame.channels[32] = 90.0f;
    VarnelApplyFrame(skeleton.get(), &frame, 0, 0);
    for (int i = 0; i < VARNEL_NUM_NODES; i++)
        EXPECT_VECTOR_NEAR(skeleton->nodes[i].worldPosition, before.nodes[i].worldPosition, 1e-4f)
            << skeleton->nodes[i].name;
    EXPECT_MATRIX_NEAR(Node(skeleton.get(), NodeLeftCollar).worldRotation, Matrix::Identity, 0);
    EXPECT_MATRIX_NEAR(Node(skeleton.get(), NodeLeftShoulder).worldRotation,
                       Matrix::RotZ(1.5707964f), 1e-6f);
    EXPECT_MATRIX_NEAR(Node(skeleton.get(), NodeLeftHand).worldRotation, Matrix::RotZ(1.5707964f),
                       1e-6f);
}

TEST(Skeleton, RotationsComposeDownTheChainAndMoveOnlyChildren)
{
    OwnedSkeleton skeleton;
    SkeletonFrame frame = ZeroFrame();
    frame.channels[6] = 90.0f;  // LeftHip X: the leg swings back (+y)
    frame.channels[9] = -90.0f; // LeftKnee X undoes it below the knee
    VarnelApplyFrame(skeleton.get(), &frame, 1, 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftHip).worldPosition, Vector(5, 0, 0), 1e-5f);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftKnee).worldPosition, Vector(5, 17.5f, 0),
                       1e-4f);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftAnkle).worldPosition, Vector(5, 17.5f, -15.5f),
                       1e-4f);
    EXPECT_MATRIX_NEAR(Node(skeleton.get(), NodeLeftAnkle).worldRotation, Matrix::Identity, 1e-6f);

    // The hips turn carries the whole body, the hips point itself stays.
    frame = ZeroFrame();
    frame.channels[0] = 1;
    frame.channels[1] = 2;
    frame.channels[2] = 3;
    frame.channels[5] = 90.0f;
    VarnelApplyFrame(skeleton.get(), &frame, 0, 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeHips).worldPosition, Vector(1, 2, 3), 1e-6f);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeLeftHip).worldPosition, Vector(1, 7, 3), 1e-5f);
}

TEST(Skeleton, ZeroFlagsIgnoreTheirChannels)
{
    OwnedSkeleton skeleton;
    SkeletonFrame frame = ZeroFrame();
    for (int c = 0; c < VARNEL_NUM_CHANNELS; c++)
        frame.channels[c] = 10.0f + float(c);
    skeleton->nodes[NodeHips].offset = Vector(0.5f, 0.25f, 0.125f);

    VarnelApplyFrame(skeleton.get(), &frame, 0, 1);
    for (int i = 0; i < VARNEL_NUM_NODES; i++)
        EXPECT_MATRIX_NEAR(skeleton->nodes[i].worldRotation, Matrix::Identity, 0)
            << skeleton->nodes[i].name;
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeHips).worldPosition, Vector(10.5f, 11.25f, 12.125f),
                       1e-5f);

    VarnelApplyFrame(skeleton.get(), &frame, 1, 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeHips).worldPosition, Vector(0.5f, 0.25f, 0.125f),
                       0);
}

TEST(Skeleton, ActorSetsOffsetsAndKeepsFrames)
{
    OwnedSkeleton skeleton;
    ASSERT_EQ(VarnelAddFrame(skeleton.get()), 1);
    skeleton->frames[1].channels[7] = 42.0f;
    SkeletonFrame* frames = skeleton->frames;

    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    actor.bones[BoneRightUpperLeg] += 1.0f;
    actor.bones[BonePelvisDepth] = 2.0f;
    VarnelCopyActorToSkeleton(skeleton.get(), &actor);

    EXPECT_EQ(skeleton->numFrames, 2);
    EXPECT_EQ(skeleton->frames, frames);
    EXPECT_EQ(skeleton->frames[1].channels[7], 42.0f);
    EXPECT_EQ(skeleton->frames[0].channels[2], 36.5f);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeChest).offset, Vector(0, 2, 3), 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeNeck).offset, Vector(0, -2, 19), 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeRightShoulder).offset, Vector(-6.5f, 0, 0), 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeRightFootHeel).offset, Vector(0, 1.5f, -3.5f), 0);
    EXPECT_VECTOR_NEAR(Node(skeleton.get(), NodeRightFootBall).offset, Vector(0, -5.5f, 0), 0);
    // The longer right leg decides the standing height.
    EXPECT_EQ(VarnelPutSkeletonOnFloor(skeleton.get()), 37.5f);

    VarnelCopyActorToSkeleton(skeleton.get(), nullptr);
    EXPECT_EQ(VarnelPutSkeletonOnFloor(skeleton.get()), 36.5f);
    EXPECT_EQ(skeleton->numFrames, 2);
}

TEST(FrameStore, CapacityGrowsGeometricallyWithLittleSlack)
{
    EXPECT_EQ(FrameCapacity(0), 0u);
    EXPECT_EQ(FrameCapacity(1), 8u);
    size_t reallocations = 0;
    for (size_t count = 1; count < 2000000; count++) {
        size_t capacity = FrameCapacity(count);
        ASSERT_GE(capacity, count);
        ASSERT_LE(capacity - count, count / 8 + 8) << count;
        if (FrameCapacity(count + 1) != capacity)
            reallocations++;
    }
    // Geometric growth: a few hundred reallocations for two million appends.
    EXPECT_LT(reallocations, 400u);
}

namespace {
int failAfter = 0;
void* FailingRealloc(void* block, size_t size)
{
    return failAfter-- > 0 ? std::realloc(block, size) : nullptr;
}
} // namespace

TEST(FrameStore, AppendsKeepEveryFrameAndFailureChangesNothing)
{
    OwnedSkeleton skeleton;
    VarnelFreeSkeletonFrames(skeleton.get());
    VarnelFreeSkeletonFrames(skeleton.get()); // no frames: only the count is reset
    EXPECT_EQ(skeleton->frames, nullptr);
    EXPECT_EQ(skeleton->numFrames, 0);

    for (int i = 0; i < 5000; i++) {
        ASSERT_EQ(VarnelAddFrame(skeleton.get()), 1);
        ASSERT_EQ(skeleton->numFrames, i + 1);
        skeleton->frames[i].counter = i;
        skeleton->frames[i].channels[56] = float(i);
    }
    for (int i = 0; i < 5000; i++) {
        ASSERT_EQ(skeleton->frames[i].counter, i);
        ASSERT_EQ(skeleton->frames[i].channels[56], float(i));
    }

    // Fill up to the capacity, then make the growth fail.
    while (FrameCapacity(size_t(skeleton->numFrames) + 1) ==
           FrameCapacity(size_t(skeleton->numFrames)))
        ASSERT_EQ(VarnelAddFrame(skeleton.get()), 1);
    SkeletonFrame* frames = skeleton->frames;
    int32_t count = skeleton->numFrames;
    failAfter = 0;
    SetFrameReallocatorForTesting(FailingRealloc);
    EXPECT_EQ(VarnelAddFrame(skeleton.get()), 0);
    SetFrameReallocatorForTesting(nullptr);
    EXPECT_EQ(skeleton->frames, frames);
    EXPECT_EQ(skeleton->numFrames, count);
    EXPECT_EQ(skeleton->frames[4999].channels[56], 4999.0f);
}

TEST(FrameStore, InitWithoutMemoryReportsAndKeepsTheNodes)
{
    RecordedMessages messages;
    Skeleton skeleton;
    failAfter = 0;
    SetFrameReallocatorForTesting(FailingRealloc);
    VarnelInitSkeleton(&skeleton);
    SetFrameReallocatorForTesting(nullptr);
    EXPECT_EQ(skeleton.numFrames, 0);
    EXPECT_EQ(skeleton.frames, nullptr);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Not enough memory for frames"});
    EXPECT_VECTOR_NEAR(skeleton.nodes[NodeLeftKnee].offset, Vector(0, 0, -17.5f), 0);
    EXPECT_EQ(skeleton.nodes[NodeHead].children[0], &skeleton.nodes[NodeTopOfHead]);
}
