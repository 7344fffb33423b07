#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tools/cli/bvh_body_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {
const std::string External = VARNEL_SOURCE_DIR "/tests/data/external-bvh/";

std::string WrittenBody(const TempFolder& folder)
{
    OwnedSkeleton body;
    const std::string path = folder.File("body.bvh");
    EXPECT_EQ(VarnelWriteBVH(path.c_str(), body.get()), 1);
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(BvhBodyCheck, NamesTheJointTheReaderCannotPlace)
{
    const std::string writerChannels =
        "'6 Xposition Yposition Zposition Zrotation Xrotation Yrotation' was expected";
    struct Case {
        std::string file, reason;
    };
    const Case cases[] = {
        {"test_simple.bvh", "line 2 has root 'Base' where 'Hips' was expected"},
        {"cmu_12_01_walk.bvh",
         "line 5 gives joint 'Hips' the channels '6 Xposition Yposition Zposition Zrotation "
         "Yrotation Xrotation' where " +
             writerChannels},
        {"pybvh_bvh_test3.bvh",
         "line 5 gives joint 'Hips' the channels '6 Xposition Yposition Zposition Xrotation "
         "Yrotation Zrotation' where " +
             writerChannels},
        {"test_mocapbank.bvh",
         "line 14 has joint 'LeftCollar' where the body's 'LeftCollar' was already read, as "
         "'Chest2' on "
         "line 10"},
        {"bvhio_example.bvh", ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.file);
        EXPECT_EQ(NotTheBodyReason(External + test.file), test.reason);
    }
}

TEST(BvhBodyCheck, NamesAJointTooManyOrTooFew)
{
    TempFolder folder;
    const std::string body = WrittenBody(folder);
    const std::string heel = "\t\t\t\tEnd Site\n";
    std::string toe = body;
    toe.insert(toe.find(heel), "\t\t\t\tJOINT LeftToe\n\t\t\t\t{\n\t\t\t\t\tOFFSET 0 0 1\n"
                               "\t\t\t\t\tCHANNELS 3 Zrotation Xrotation Yrotation\n\t\t\t\t}\n");
    std::string noRightLeg = body;
    size_t rightHip = noRightLeg.find("\tJOINT RightHip");
    noRightLeg.erase(rightHip, noRightLeg.find("\tJOINT Chest") - rightHip);
    struct Case {
        std::string text, reason;
    };
    const Case cases[] = {
        {body, ""},
        {toe, "line 18 has joint 'LeftToe' where the body has only the End Site of 'LeftAnkle'"},
        {noRightLeg, "the hierarchy ends on line 93 without joints 'RightHip', 'RightKnee', "
                     "'RightAnkle'"},
        {"HIERARCHY\nROOT Hips\n{\n\tOFFSET 0 0 0\n}\nMOTION\n",
         "the hierarchy ends on line 6 without joints 'LeftHip', 'RightHip', 'Chest' and 14 "
         "more"},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(NotTheBodyReason(folder.Write("test.bvh", test.text)), test.reason);
        if (!test.reason.empty()) {
            EXPECT_EQ(NotTheBodyLine(folder.File("test.bvh"), "take.bvh"),
                      "take.bvh is not the 18-joint Varnel body: " + test.reason);
        }
    }
}
} // namespace
