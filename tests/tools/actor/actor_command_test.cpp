#include "tests/support/temp_folder.h"
#include "tests/tools/support/file_fixtures.h"
#include "tools/actor/actor_conversion.h"
#include "tools/cli/commands.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
// Runs `varnel actor ...` through its command-line parser.
int RunActorCommand(const std::string& arguments)
{
    CLI::App app;
    CommandRun run{stdout, stderr, -1};
    AddActorCommand(app, run);
    app.parse("actor " + arguments, false);
    return run.exitStatus;
}

TEST(ActorCommand, ConvertsBetweenUnitsNamedInAnyCase)
{
    TempFolder folder;
    const std::string feet = folder.File("feet.vnl");
    EXPECT_EQ(
        RunActorCommand(GoldenActor + "default-meters/expected.vnl -o " + feet + " --units fEEt"),
        0);
    EXPECT_EQ(ReadWholeFile(feet), ReadWholeFile(GoldenActor + "default-feet/expected.vnl"));
    EXPECT_THROW(
        RunActorCommand(GoldenActor + "default-meters/expected.vnl -o " + feet + " --units metres"),
        CLI::ValidationError);

    PipeFeed meters(ReadWholeFile(GoldenActor + "default-meters/expected.vnl"), false);
    EXPECT_EQ(RunActorCommand(meters.Path() + " -o " + feet + " --units Feet"), 0);
    EXPECT_EQ(ReadWholeFile(feet), ReadWholeFile(GoldenActor + "default-feet/expected.vnl"));
}

TEST(ActorCommand, SaysWhatIsWrongWithTheInput)
{
    TempFolder folder;
    std::string text = ReadWholeFile(GoldenActor + "default-inches/expected.vnl");
    const std::string badScale =
        folder.Write("bad.vnl", text.replace(text.find("ChestX=1"), 8, "ChestX=wide"));
    const std::string unknownUnit =
        folder.Write("unit.vnl", "[Units]\nUnits=\x1b[2JFurlongs\n[Bones]\nLeftPelvis=5\n");
    const std::string out = folder.File("out.vnl");

    Output a, b, c, d;
    EXPECT_EQ(ConvertActorFile(badScale, out, ActorUnitsFeet, a.out, a.errors), 1);
    EXPECT_EQ(a.errors.str(),
              "Error reading file " + badScale + ": [Scales] ChestX is missing or not a number\n");
    EXPECT_EQ(ConvertActorFile(unknownUnit, out, ActorUnitsFeet, b.out, b.errors), 1);
    EXPECT_NE(b.errors.str().find("Unknown units \"?[2JFurlongs\""), std::string::npos);
    EXPECT_EQ(ConvertActorFile(folder.File("none.vnl"), out, 0, c.out, c.errors), 1);
    EXPECT_EQ(c.errors.str(), "Can't open file " + folder.File("none.vnl") + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));

    const std::string good = GoldenActor + "default-inches/expected.vnl";
    EXPECT_EQ(ConvertActorFile(good, folder.File("no/folder.vnl"), 0, d.out, d.errors), 1);
    EXPECT_EQ(d.errors.str(), "Can't write file " + folder.File("no/folder.vnl") + "\n");
}
} // namespace
