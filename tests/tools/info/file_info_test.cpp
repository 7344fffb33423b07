#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/file_fixtures.h"
#include "tools/info/actor_description.h"
#include "tools/info/bvh_description.h"
#include "tools/info/file_description.h"

#include <gtest/gtest.h>

namespace {
TEST(InfoCommand, TellsActorFilesFromMotionFiles)
{
    TempFolder folder;
    EXPECT_TRUE(IsActorFile(folder.Write("ACTOR.VNL", "")));
    EXPECT_TRUE(IsActorFile(folder.Write("actor.txt", "\n; comment\n[ units ]\nUnits=Feet\n")));
    EXPECT_FALSE(IsActorFile(folder.Write("bones.txt", "[Bones]\n[Units]\n")));
    EXPECT_FALSE(
        IsActorFile(std::string(VARNEL_SOURCE_DIR "/tests/data/external-bvh/bvhio_example.bvh")));
}

TEST(InfoCommand, DescribesAnActorFileInItsOwnUnits)
{
    Output result;
    ASSERT_EQ(
        DescribeActorFile(GoldenActor + "default-meters/expected.vnl", result.out, result.errors),
        0);
    const std::string text = result.out.str();
    EXPECT_NE(text.find("Units: Meters\n"), std::string::npos);
    EXPECT_NE(text.find("\n[Bones]\n  LeftPelvis         0.127\n  LeftUpperLeg       0.4445\n"),
              std::string::npos);
    // Angles and scales keep their values whatever the unit.
    EXPECT_NE(text.find("[Scales]\n  PositionX          1\n"), std::string::npos);
    EXPECT_NE(text.find("  RightShoulderZ     1.3\n"), std::string::npos);
    EXPECT_LT(text.find("[Displacements]"), text.find("[Scales]"));
    EXPECT_LT(text.find("[Scales]"), text.find("[Tweaks]"));
}

TEST(InfoCommand, DescribesAMotionFile)
{
    // Three frames: the hips travel 10 along x and 2 down; the first and
    // last stand on both heels, the middle one on the left ball.
    OwnedSkeleton skeleton;
    const SkeletonFrame rest = skeleton->frames[0];
    ASSERT_EQ(VarnelAddFrame(skeleton.get()), 1);
    ASSERT_EQ(VarnelAddFrame(skeleton.get()), 1);
    for (int i = 0; i < 3; i++) {
        skeleton->frames[i] = rest;
        skeleton->frames[i].channels[0] = 5.0f * float(i);
    }
    skeleton->frames[1].channels[2] -= 2.0f;
    skeleton->frames[1].channels[12] = 30.0f; // left ankle X: the ball drops below the heels
    skeleton->frameTime = 0.04f;
    TempFolder folder;
    const std::string path = folder.File("walk.bvh");
    ASSERT_EQ(VarnelWriteBVH(path.c_str(), skeleton.get()), 1);

    Output result;
    ASSERT_EQ(DescribeBvhFile(path, result.out, result.errors), 0) << result.errors.str();
    const std::string text = result.out.str();
    EXPECT_NE(text.find("Frames: 3\n"), std::string::npos);
    EXPECT_NE(text.find("Frame time: 0.04 s (25 frames per second)\n"), std::string::npos);
    EXPECT_NE(text.find("Duration: 0.120 s\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftKnee           0.0000     0.0000   -17.5000\n"), std::string::npos);
    EXPECT_NE(text.find("  x           0.0000    10.0000    10.0000\n"), std::string::npos);
    EXPECT_NE(text.find("  z          34.5000    36.5000     2.0000\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftFootHeel          2   66.7%\n"), std::string::npos);
    EXPECT_NE(text.find("  LeftFootBall          1   33.3%\n"), std::string::npos);
}

TEST(InfoCommand, ReadsAPipeOnceAndNamesIt)
{
    struct Case {
        std::string text;
        bool endless;
        int status;
        std::string before, after; // around the pipe's name
    };
    const Case cases[] = {
        {ReadWholeFile(VARNEL_SOURCE_DIR "/tests/data/external-bvh/bvhio_example.bvh"), false, 0,
         "", ": BVH motion\nFrames: 2\n"},
        {ReadWholeFile(GoldenActor + "default-feet/expected.vnl"), false, 0, "",
         ": actor measurements\nUnits: Feet\n"},
        {std::string(65536, '\0'), true, 1, "Incorrect format in file ", ", line 1\n"},
    };
    for (const Case& test : cases) {
        PipeFeed feed(test.text, test.endless);
        Output result;
        EXPECT_EQ(DescribeFile(feed.Path(), result.out, result.errors), test.status);
        std::string said = result.out.str() + result.errors.str();
        EXPECT_EQ(said.find(test.before + feed.Path() + test.after), 0u) << said;
    }
}

TEST(InfoCommand, GivesTheLibraryMessageForABadMotionFile)
{
    TempFolder folder;
    const std::string path = folder.Write("bad.bvh", "HIERARCHY\nROOT Pelvis\n{\n");
    Output bad, missing;
    EXPECT_EQ(DescribeBvhFile(path, bad.out, bad.errors), 1);
    EXPECT_EQ(bad.errors.str(), "Incorrect format in file " + path + ", line 2\n");
    EXPECT_EQ(DescribeBvhFile(folder.File("none.bvh"), missing.out, missing.errors), 1);
    EXPECT_EQ(missing.errors.str(), "Can't open file " + folder.File("none.bvh") + "\n");
    Output folderInstead;
    EXPECT_EQ(DescribeBvhFile(folder.path, folderInstead.out, folderInstead.errors), 1);
    EXPECT_EQ(folderInstead.errors.str(), "Can't open file " + folder.path + "\n");
    EXPECT_EQ(bad.out.str() + missing.out.str() + folderInstead.out.str(), "");
}
} // namespace
