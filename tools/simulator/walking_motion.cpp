#include "tools/simulator/walking_motion.h"

#include "tools/simulator/pose_readings.h"
#include "tools/simulator/walking_gait.h"

#include <cstring>

namespace {
ActorData DefaultActor()
{
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    return actor;
}
} // namespace

WalkingMotion::WalkingMotion(double frameRate, uint64_t leadInFrames)
    : frameRate(frameRate), leadInFrames(leadInFrames), travel(DefaultActor())
{
}

const SkeletonFrame& WalkingMotion::Pose(uint64_t frame)
{
    if (posed && frame < poseFrame)
        posed = false;
    if (!posed) {
        std::memset(&pose, 0, sizeof pose);
        travel.Reset();
    }
    // The hips travel step by step, so every frame up to this one is walked;
    // the lead-in keeps the null pose over the origin.
    for (uint64_t next = posed ? poseFrame + 1 : 0; next <= frame; next++) {
        if (next >= leadInFrames) {
            WalkingPose(double(next - leadInFrames) / frameRate, pose);
            travel.Place(pose);
        }
    }
    poseFrame = frame;
    posed = true;
    return pose;
}

void WalkingMotion::FillReadings(int, uint64_t frame, SuitReadings& out)
{
    if (!haveReadings || frame != readingsFrame) {
        if (frame < leadInFrames)
            NullPoseReadings(readings);
        else
            ReadingsFromPose(Pose(frame), readings);
        readingsFrame = frame;
        haveReadings = true;
    }
    out = readings;
}
