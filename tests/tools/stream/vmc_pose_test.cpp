#include "tests/tools/stream/humanoid_check.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {
struct NamedFrame {
    std::string name;
    SkeletonFrame frame;
};

std::vector<NamedFrame> CheckedFrames(const Skeleton& body)
{
    std::vector<NamedFrame> frames = {{"rest", RestFrame(body)},
                                      {"arms raised", ArmsRaisedFrame(body)}};
    WalkingMotion walk(60.0, 0);
    // A stride and a half, every tenth frame, turns included.
    for (uint64_t f = 60; f < 240; f += 10)
        frames.push_back({"walk frame " + std::to_string(f), walk.Pose(f)});
    return frames;
}

TEST(VmcPose, EveryJointOfTheHumanoidPointsWhereOursDoes)
{
    OwnedSkeleton body;
    for (const NamedFrame& checked : CheckedFrames(body.skeleton)) {
        VmcPose pose;
        VmcPoseFromFrame(body.skeleton, checked.frame, &pose);
        ExpectSameDirections(body.skeleton, checked.frame, Received(pose), checked.name);
    }
}

TEST(VmcPose, AnActorOfOtherProportionsAndABvhHipsOffsetStillMatch)
{
    OwnedSkeleton body;
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    actor.bones[BoneLeftUpperArm] *= 1.3f;
    actor.bones[BoneRightClavicle] *= 0.6f;
    actor.bones[BoneSpine] *= 1.2f;
    actor.bones[BonePelvisDepth] = 3.0f;
    actor.bones[BoneLeftFoot] *= 1.4f;
    VarnelCopyActorToSkeleton(body.get(), &actor);
    body->nodes[NodeHips].offset = Vector(1.0f, -2.0f, 0.5f);
    SkeletonFrame frame = ArmsRaisedFrame(body.skeleton);
    VmcPose pose;
    VmcPoseFromFrame(body.skeleton, frame, &pose);
    ExpectSameDirections(body.skeleton, frame, Received(pose), "other proportions");
}

TEST(VmcPose, RotationsAreUnitQuaternionsWithNonNegativeW)
{
    OwnedSkeleton body;
    for (const NamedFrame& checked : CheckedFrames(body.skeleton)) {
        VmcPose pose;
        VmcPoseFromFrame(body.skeleton, checked.frame, &pose);
        for (int b = 0; b < VmcBoneCount; b++) {
            const float* q = pose.bones[b].rotation;
            EXPECT_NEAR(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3], 1.0f, 1e-5f)
                << checked.name << ": " << VmcBoneName(b);
            EXPECT_GE(q[3], 0.0f) << checked.name << ": " << VmcBoneName(b);
        }
    }
}
} // namespace
