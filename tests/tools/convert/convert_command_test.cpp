#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/run_varnel.h"
#include "tools/cli/command_line.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {
Printed RunConvert(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), "convert");
    return RunVarnel(std::move(arguments));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string WriteTake(const TempFolder& folder, const std::string& name)
{
    OwnedSkeleton take;
    take->frames[0].channels[0] = 12.5f;
    const std::string path = folder.File(name);
    EXPECT_EQ(VarnelWriteBVH(path.c_str(), take.get()), 1);
    return path;
}

TEST(ConvertCommand, WritesToAFileToItselfOrToTheOutputAndBack)
{
    TempFolder folder;
    const std::string take = WriteTake(folder, "take.bvh");
    const std::string inches = ReadAll(take);

    Printed piped = RunConvert({take, "-o", "-", "--units", "cm"});
    ASSERT_EQ(piped.status, 0) << piped.errors;
    EXPECT_EQ(piped.errors, "");
    EXPECT_NE(piped.out.find("\n31.750000\t92.710000\t"), std::string::npos) << piped.out;

    // Converted in place, the file is replaced only once the text is whole.
    Printed inPlace = RunConvert({take, "-o", take, "--units", "cm"});
    ASSERT_EQ(inPlace.status, 0) << inPlace.errors;
    EXPECT_EQ(inPlace.out, "Wrote " + take + " in cm (from in)\n");
    EXPECT_EQ(ReadAll(take), piped.out);

    const std::string back = folder.File("back.bvh");
    Printed returned = RunConvert({take, "-o", back, "--from", "cm", "--units", "in"});
    ASSERT_EQ(returned.status, 0) << returned.errors;
    EXPECT_EQ(ReadAll(back), inches);
}

TEST(ConvertCommand, FailuresNameTheFileAndLeaveTheOutputAsItWas)
{
    TempFolder folder;
    const std::string bad = folder.Write("bad.bvh", "HIERARCHY\nROOT Hips\n{\n\tOFFSET 1 x 3\n");
    const std::string existing = folder.Write("out.bvh", "old");
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{bad, "-o", existing, "--units", "m"},
         "varnel convert: " + bad + ", line 4: OFFSET value 'x' is not a number\n"},
        {{bad, "-o", "-", "--units", "m"},
         "varnel convert: " + bad + ", line 4: OFFSET value 'x' is not a number\n"},
        {{folder.File("missing.bvh"), "-o", existing, "--units", "cm"},
         "varnel convert: cannot open " + folder.File("missing.bvh") +
             " (No such file or directory)\n"},
        {{WriteTake(folder, "good.bvh"), "-o", folder.File("no/such/folder.bvh"), "--units", "cm"},
         "varnel convert: cannot write " + folder.File("no/such/folder.bvh") +
             " (No such file or directory)\n"},
    };
    for (const Case& test : cases) {
        Printed printed = RunConvert(test.arguments);
        EXPECT_EQ(printed.status, 1);
        EXPECT_EQ(printed.errors, test.message);
        EXPECT_EQ(printed.out, "");
        EXPECT_EQ(ReadAll(existing), "old");
    }
}
} // namespace
