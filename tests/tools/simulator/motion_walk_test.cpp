#include "tests/support/owned_skeleton.h"
#include "tests/tools/simulator/motion_solve_check.h"
#include "tools/simulator/walking_motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
constexpr double Rate = 60.0;
constexpr int FootNodes[4] = {NodeLeftFootHeel, NodeRightFootHeel, NodeLeftFootBall,
                              NodeRightFootBall};

// The legs as the library will see them: the walk's readings solved by the
// suit's joint model, posed on a skeleton of the same actor.
class SolvedBody {
  public:
    SolvedBody()
    {
        ActorData actor = PlainActor();
        VarnelCopyActorToSkeleton(skeleton.get(), &actor);
    }

    // The foot point lowest under the hips for the readings.
    int LowestFootPoint(const SuitReadings& readings)
    {
        SkeletonFrame solved = SolveReadings(readings);
        VarnelApplyFrame(skeleton.get(), &solved, 1, 0);
        int lowest = 0;
        for (int k = 1; k < 4; k++)
            if (Height(k) < Height(lowest))
                lowest = k;
        return lowest;
    }
    float Height(int point) const
    {
        return skeleton.skeleton.nodes[FootNodes[point]].worldPosition.z;
    }

  private:
    OwnedSkeleton skeleton;
};

TEST(MotionWalk, FeetHandTheBodyFromHeelToBallAndFromFootToFoot)
{
    WalkingMotion walk(Rate, 0);
    SolvedBody body;
    // Which point carries the body, in order, once the walk is under way.
    std::vector<int> carriers;
    for (int frame = int(2 * Rate); frame < int(6 * Rate); frame++) {
        SuitReadings readings;
        walk.FillReadings(0, uint64_t(frame), readings);
        int lowest = body.LowestFootPoint(readings);
        if (carriers.empty() || carriers.back() != lowest)
            carriers.push_back(lowest);
    }
    // Left heel, left ball, right heel, right ball, stride after stride.
    ASSERT_GE(carriers.size(), 8u);
    const int next[4] = {2, 3, 1, 0};
    for (size_t i = 1; i < carriers.size(); i++)
        EXPECT_EQ(carriers[i], next[carriers[i - 1]]) << "hand-over " << i;
}

TEST(MotionWalk, WalksForwardAndTurnsWithTheStandingFootOnTheGround)
{
    WalkingMotion walk(Rate, 0);
    OwnedSkeleton skeleton;
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    VarnelCopyActorToSkeleton(skeleton.get(), &actor);
    for (int frame = 0; frame < int(20 * Rate); frame++) {
        SkeletonFrame pose = walk.Pose(uint64_t(frame));
        VarnelApplyFrame(skeleton.get(), &pose, 0, 0);
        float lowest = 1e9f;
        for (int node : FootNodes)
            lowest = std::min(lowest, skeleton->nodes[node].worldPosition.z);
        ASSERT_NEAR(lowest, 0.0f, 1e-3f) << "frame " << frame;
    }
    // Twenty seconds of walking at about a meter a second, bending left.
    SkeletonFrame end = walk.Pose(uint64_t(20 * Rate));
    float travelled = std::hypot(end.channels[0], end.channels[1]);
    EXPECT_GT(travelled, 300.0f);
    EXPECT_GT(end.channels[0], 100.0f) << "turned towards the actor's left (+X)";
}

TEST(MotionWalk, StandsInTheNullPoseThroughTheLeadInAndReplaysOnRequest)
{
    WalkingMotion walk(Rate, 90);
    SuitReadings rest, readings;
    NullPoseReadings(rest);
    for (uint64_t frame : {0u, 45u, 89u}) {
        walk.FillReadings(0, frame, readings);
        EXPECT_EQ(std::memcmp(&readings, &rest, sizeof readings), 0) << "frame " << frame;
    }
    // The walk starts from the null pose and eases in.
    walk.FillReadings(0, 90, readings);
    EXPECT_EQ(std::memcmp(readings.channels, rest.channels, sizeof rest.channels), 0);
    walk.FillReadings(0, 150, readings);
    EXPECT_NE(std::memcmp(readings.channels, rest.channels, sizeof rest.channels), 0);

    // Going back replays the walk: the hips arrive where they did before.
    SkeletonFrame later = walk.Pose(400);
    walk.Pose(100);
    SkeletonFrame again = walk.Pose(400);
    EXPECT_EQ(std::memcmp(&later, &again, sizeof later), 0);
}
} // namespace
