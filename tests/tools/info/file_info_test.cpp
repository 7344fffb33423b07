#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/file_fixtures.h"
#include "tests/tools/support/json_syntax.h"
#include "tools/cli/raw_take.h"
#include "tools/info/actor_description.h"
#include "tools/info/bvh_description.h"
#include "tools/info/file_description.h"

#include <gtest/gtest.h>

#include <cstring>

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

// Three frames: the hips travel 10 along x and 2 down; the first and last
// stand on both heels, the middle one on the left ball.
std::string WriteThreeFrameWalk(const TempFolder& folder)
{
    OwnedSkeleton skeleton;
    const SkeletonFrame rest = skeleton->frames[0];
    EXPECT_EQ(VarnelAddFrame(skeleton.get()), 1);
    EXPECT_EQ(VarnelAddFrame(skeleton.get()), 1);
    for (int i = 0; i < 3; i++) {
        skeleton->frames[i] = rest;
        skeleton->frames[i].channels[0] = 5.0f * float(i);
    }
    skeleton->frames[1].channels[2] -= 2.0f;
    skeleton->frames[1].channels[12] = 30.0f; // left ankle X: the ball drops below the heels
    skeleton->frameTime = 0.04f;
    const std::string path = folder.File("walk.bvh");
    EXPECT_EQ(VarnelWriteBVH(path.c_str(), skeleton.get()), 1);
    return path;
}

TEST(InfoCommand, DescribesAMotionFile)
{
    TempFolder folder;
    const std::string path = WriteThreeFrameWalk(folder);

    Output result;
    ASSERT_EQ(DescribeBvhFile(path, result.out, result.errors), 0) << result.errors.str();
    const std::string text = result.out.str();
    EXPECT_NE(text.find("Frames: 3\n"), std::string::npos);
    EXPECT_NE(text.find("Frame time: 0.04 s (25 frames per second)\n"), std::string::npos);
    // From the lowest foot point to the top of the head.
    OwnedSkeleton read;
    ASSERT_EQ(VarnelReadBVH(path.c_str(), read.get(), 85, 1.5f), 1);
    float height = VarnelPutSkeletonOnFloor(read.get());
    for (int node : {NodeChest, NodeNeck, NodeHead, NodeTopOfHead})
        height += read->nodes[node].offset.z;
    char heightLine[64];
    std::snprintf(heightLine, sizeof heightLine, "Height (rest pose): %.1f in\n", double(height));
    EXPECT_NE(text.find(std::string("Duration: 0.120 s\nLengths: in (a BVH file does not record "
                                    "its unit; the library reads it as inches, --units names "
                                    "another)\n") +
                        heightLine),
              std::string::npos)
        << text;
    // The unit the user names labels every length, not a converted value.
    Output inCentimeters;
    ASSERT_EQ(DescribeBvhFile(path, inCentimeters.out, inCentimeters.errors, OutputForm::Text,
                              LengthUnit::Centimeters),
              0);
    std::string labelled = text;
    for (auto [from, to] : {std::pair<std::string, std::string>{
                                "in (a BVH file does not record its unit; the library reads it as "
                                "inches, --units names another)",
                                "cm (as --units says)"},
                            {" in\n", " cm\n"},
                            {"(in; x", "(cm; x"},
                            {"travel (in)", "travel (cm)"}})
        for (size_t at = labelled.find(from); at != std::string::npos; at = labelled.find(from, at))
            labelled.replace(at, from.size(), to);
    EXPECT_EQ(inCentimeters.out.str(), labelled);
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
    EXPECT_EQ(bad.errors.str(), "Incorrect format in file " + path + ", line 2\n" + path +
                                    " is not the 18-joint Varnel body: line 2 has root 'Pelvis' "
                                    "where 'Hips' was expected\n");
    EXPECT_EQ(DescribeBvhFile(folder.File("none.bvh"), missing.out, missing.errors), 1);
    EXPECT_EQ(missing.errors.str(), "Can't open file " + folder.File("none.bvh") + "\n");
    Output folderInstead;
    EXPECT_EQ(DescribeBvhFile(folder.path, folderInstead.out, folderInstead.errors), 1);
    EXPECT_EQ(folderInstead.errors.str(), "Can't open file " + folder.path + "\n");
    EXPECT_EQ(bad.out.str() + missing.out.str() + folderInstead.out.str(), "");
}
} // namespace

namespace {
TEST(InfoCommand, DescribesAMotionFileInJson)
{
    TempFolder folder;
    const std::string path = WriteThreeFrameWalk(folder);
    Output result;
    ASSERT_EQ(DescribeFile(path, result.out, result.errors, OutputForm::Json), 0)
        << result.errors.str();
    const std::string text = result.out.str();
    EXPECT_TRUE(JsonSyntax::IsJson(text)) << text;
    EXPECT_TRUE(text.starts_with("{\"file\":\"" + path +
                                 "\",\"kind\":\"bvh\",\"frames\":3,\"frameTime\":0.04,"
                                 "\"duration\":0.12,\"units\":\"in\",\"height\":"))
        << text;
    EXPECT_NE(text.find(",\"offsets\":[{\"node\":\"Hips\","), std::string::npos);
    EXPECT_NE(text.find("{\"node\":\"LeftKnee\",\"x\":0,\"y\":0,\"z\":-17.5}"), std::string::npos);
    EXPECT_NE(text.find("\"hipsTravel\":{\"x\":{\"min\":0,\"max\":10,\"range\":10},"),
              std::string::npos);
    EXPECT_NE(text.find("\"z\":{\"min\":34.5,\"max\":36.5,\"range\":2}},"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\"contacts\":{\"LeftFootHeel\":2,\"RightFootHeel\":2,"
                               "\"LeftFootBall\":1,\"RightFootBall\":0}}\n"))
        << text;
}

TEST(InfoCommand, DescribesAnActorFileInJson)
{
    const std::string path = GoldenActor + "default-meters/expected.vnl";
    Output result;
    ASSERT_EQ(DescribeFile(path, result.out, result.errors, OutputForm::Json), 0);
    const std::string text = result.out.str();
    EXPECT_TRUE(JsonSyntax::IsJson(text)) << text;
    EXPECT_TRUE(text.starts_with("{\"file\":\"" + path +
                                 "\",\"kind\":\"actor\",\"units\":\"Meters\",\"sections\":{"
                                 "\"Bones\":{\"LeftPelvis\":0.127,\"LeftUpperLeg\":0.4445,"))
        << text;
    EXPECT_NE(text.find("\"Scales\":{\"PositionX\":1,"), std::string::npos);
    size_t values = 0;
    for (size_t at = 0; (at = text.find("\":", at)) != std::string::npos; at++)
        values++;
    // The file, kind, units, sections and their names, and the 119 values.
    EXPECT_EQ(values, 4 + 4 + 119u) << text;
}
} // namespace

namespace {
// A raw take of three datagrams, two solved and kept, calibrated on the
// first, cut in the middle of a fourth.
std::string WriteCutRawTake(const TempFolder& folder)
{
    RawTakeHeader header;
    std::snprintf(header.suitName, sizeof header.suitName, "Lab suit");
    header.nominalRate = 120.0f;
    header.calibrationAt = 1'000'000;
    header.floor = FloorGeometry{0.0f, 0.0f, 2.5f, 0.0f, 10.0f, 1, 4};
    std::string bytes(RawTakeHeaderSize + 3 * RawRecordSize + 50, '\0');
    auto* data = reinterpret_cast<uint8_t*>(bytes.data());
    EncodeRawTakeHeader(header, data);
    const uint32_t flags[3] = {RawCalibratedBefore, RawSolved | RawKept, RawSolved | RawKept};
    for (int i = 0; i < 3; i++)
        EncodeRawRecord(RawRecord{1'000'000 + i * 8'333'333, flags[i], {}},
                        data + RawTakeHeaderSize + i * RawRecordSize);
    std::memcpy(data + RawTakeHeaderSize + 3 * RawRecordSize, &RawRecordMark, 4);
    return folder.Write("take.vraw", bytes);
}

TEST(InfoCommand, DescribesARawTakeAndItsCutTail)
{
    TempFolder folder;
    const std::string path = WriteCutRawTake(folder);
    Output text, json;
    ASSERT_EQ(DescribeFile(path, text.out, text.errors), 0) << text.errors.str();
    EXPECT_EQ(text.out.str(), path + ": raw take\n"
                                     "Suit: Lab suit\n"
                                     "Nominal rate: 120 frames per second\n"
                                     "Datagrams: 3 over 0.017 s (2 solved, 2 kept in the take)\n"
                                     "Calibrated at: 0.001 s\n"
                                     "Position sensor: no\n"
                                     "Floor: 0,0,2.5,0,10,1,4 (as --floor takes it)\n"
                                     "Cut tail: 50 bytes after the last whole datagram\n");
    ASSERT_EQ(DescribeFile(path, json.out, json.errors, OutputForm::Json), 0);
    EXPECT_TRUE(JsonSyntax::IsJson(json.out.str())) << json.out.str();
    EXPECT_NE(json.out.str().find("\"kind\":\"raw\",\"suit\":\"Lab suit\",\"rate\":120,"
                                  "\"records\":3,"),
              std::string::npos)
        << json.out.str();
    // The magic decides, whatever the name: a text file called .vraw is no raw take.
    Output notRaw;
    EXPECT_EQ(DescribeFile(folder.Write("text.vraw", "HIERARCHY\n"), notRaw.out, notRaw.errors), 1);
}
} // namespace
