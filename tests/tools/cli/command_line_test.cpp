#include "tests/support/loopback_socket.h"
#include "tests/support/own_suit_port.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/file_fixtures.h"
#include "tests/tools/support/run_varnel.h"
#include "tools/cli/command_line.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CommandLine, UsageErrorsExitTwoNamingTheProblemAndTheHelp)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string problem, help;
    };
    const Case cases[] = {
        {{}, "varnel: no command given", "varnel --help"},
        {{"frobnicate"}, "varnel: unknown command 'frobnicate'", "varnel --help"},
        {{"\x1b[2J"}, "varnel: unknown command '?[2J'", "varnel --help"},
        {{"--bogus", "suits"}, "varnel: unknown option '--bogus'", "varnel --help"},
        {{"record"},
         "varnel record: -o: name the BVH file with -o, the raw take with --raw, or both",
         "varnel record --help"},
        {{"record", "--raw", "-"},
         "varnel record: --raw: a raw take goes to a file, not standard output",
         "varnel record --help"},
        // An unknown option is named, not the required one it hides.
        {{"record", "-x"}, "varnel record: unknown option '-x'", "varnel record --help"},
        {{"record", "-o", "take.bvh", "--seconds", "0"},
         "varnel record: --seconds: the duration must be a number of seconds above 0, not \"0\"",
         "varnel record --help"},
        {{"record", "-o", "take.bvh", "--frames", "2", "--seconds", "1"},
         "varnel record: --seconds excludes --frames",
         "varnel record --help"},
        {{"suits", "--jsn"}, "varnel suits: unknown option '--jsn'", "varnel suits --help"},
        {{"info", "--units", "ft", "a.bvh"},
         "varnel info: --units: unknown unit ft: use in, cm or m",
         "varnel info --help"},
        {{"info", "a.bvh", "b.bvh"},
         "varnel info: unexpected argument 'b.bvh'",
         "varnel info --help"},
        {{"actor", "in.vnl", "-o", "out.vnl", "--units", "furlongs"},
         "varnel actor: --units: unknown units furlongs: use Inches, Feet, Millimeters, "
         "Centimeters or Meters",
         "varnel actor --help"},
        {{"convert", "in.bvh", "-o", "out.bvh"},
         "varnel convert: --units is required",
         "varnel convert --help"},
        {{"convert", "in.bvh", "-o", "out.bvh", "--units", "ft"},
         "varnel convert: --units: unknown unit ft: use in, cm or m",
         "varnel convert --help"},
        {{"convert", "in.bvh", "--units", "cm", "--from", "mm", "-o", "out.bvh"},
         "varnel convert: --from: unknown unit mm: use in, cm or m",
         "varnel convert --help"},
        {{"record", "-o", "take.bvh", "--units", "Inches"},
         "varnel record: --units: unknown unit Inches: use in, cm or m",
         "varnel record --help"},
        {{"simulate", "--to", "nowhere"},
         "varnel simulate: --to: expected HOST:PORT, got \"nowhere\"",
         "varnel simulate --help"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.arguments));
        Printed printed = RunVarnel(test.arguments);
        EXPECT_EQ(printed.status, UsageErrorStatus);
        EXPECT_EQ(printed.errors, test.problem + "\nRun '" + test.help + "' for usage.\n");
        EXPECT_EQ(printed.out, "");
    }
}

TEST(CommandLine, HelpGoesToTheOutputWithTheExitStatuses)
{
    for (std::string command :
         {"", "simulate", "record", "stream", "suits", "info", "actor", "convert"}) {
        SCOPED_TRACE(command);
        Printed printed = RunVarnel(command.empty() ? std::vector<std::string>{"--help"}
                                                    : std::vector<std::string>{command, "--help"});
        EXPECT_EQ(printed.status, 0);
        EXPECT_EQ(printed.errors, "");
        EXPECT_NE(printed.out.find("Usage: varnel" + (command.empty() ? "" : " " + command)),
                  std::string::npos)
            << printed.out;
        EXPECT_NE(printed.out.find("Exit status:\n  0  "), std::string::npos) << printed.out;
        EXPECT_NE(printed.out.find("\n  2  "), std::string::npos) << printed.out;
    }
}

TEST(CommandLine, VersionNamesTheProgramAndTheLibrary)
{
    const uint32_t library = VarnelVersion();
    Printed printed = RunVarnel({"--version"});
    EXPECT_EQ(printed.status, 0);
    EXPECT_THAT(printed.out, testing::MatchesRegex("varnel [0-9]+\\.[0-9]+ \\(libvarnel " +
                                                   std::to_string(library & 0xffff) + "\\." +
                                                   std::to_string(library >> 16) + "\\)\n"));
}

TEST(CommandLine, EveryMessageCarriesTheCommandsPrefix)
{
    TempFolder folder;
    const std::string missing = folder.File("missing.vnl");
    const std::string broken = folder.Write("broken.bvh", "HIERARCHY\nROOT Hips\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string firstLine;
    };
    const Case cases[] = {
        {{"info", missing}, "varnel info: Can't open file " + missing + "\n"},
        {{"actor", missing, "-o", folder.File("out.vnl"), "--units", "feet"},
         "varnel actor: Can't open file " + missing + "\n"},
        // The library's own words, behind the same prefix.
        {{"info", broken}, "varnel info: "},
        {{"record", "-o", folder.File("no/take.bvh")},
         "varnel record: cannot write " + folder.File("no/take.bvh")},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.arguments));
        Printed printed = RunVarnel(test.arguments);
        EXPECT_EQ(printed.status, 1);
        EXPECT_TRUE(printed.errors.starts_with(test.firstLine)) << printed.errors;
        EXPECT_EQ(printed.errors.find("Varnel:"), std::string::npos) << printed.errors;
        EXPECT_EQ(printed.out, "");
    }
}

TEST(CommandLine, APortHeldByAnotherProgramIsNamedWithWhatToDo)
{
    LoopbackSocket holder(AnyIpv4Address, SuitPort());
    ASSERT_TRUE(holder.Bound());
    TempFolder folder;
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{"suits"}, {"record", "-o", folder.File("take.bvh")}}) {
        const std::string prefix = "varnel " + arguments[0] + ": ";
        Printed printed = RunVarnel(arguments);
        EXPECT_EQ(printed.status, 2);
        EXPECT_TRUE(printed.errors.starts_with(prefix + "Socket bind error WSAEADDRINUSE"))
            << printed.errors;
        EXPECT_NE(printed.errors.find("\n" + prefix +
                                      "UDP port 8000 is held by another capture program "
                                      "(Varnview, another 'varnel record' or 'varnel suits')"),
                  std::string::npos)
            << printed.errors;
        EXPECT_EQ(printed.out, "");
    }
}
} // namespace
