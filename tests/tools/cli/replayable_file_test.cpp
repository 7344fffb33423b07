#include "common/text_limits.h"
#include "tests/support/temp_folder.h"
#include "tests/tools/support/environment_variable.h"
#include "tests/tools/support/file_fixtures.h"
#include "tools/cli/replayable_file.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
TEST(ReplayableFile, CopiesAPipeUpToItsFirstOverlongLineIntoTheTemporaryFolder)
{
    const std::string temporary = std::filesystem::temp_directory_path().string();
    TempFolder folder;
    const std::string shortLines = std::string(PIPE_BUF - 1, 'y') + "\n";
    struct Case {
        std::string text, temporaryFolder, error; // no error: the copy is made
    };
    const Case cases[] = {
        {shortLines, temporary, ": more than 4 MiB from a pipe or device\n"},
        // That line ends in the piece that brings the next line.
        {std::string(MaxLineLength, 'x') + "x\ny\n", temporary, ""},
        {shortLines, folder.File("missing"),
         ": cannot copy it to " + folder.File("missing") + " (No such file or directory)\n"},
    };
    for (const Case& test : cases) {
        PipeFeed feed(test.text, true);
        ScopedEnvironmentVariable temporaryFolder("TMPDIR", test.temporaryFolder);
        ReplayableFile copy(4 << 20);
        std::ostringstream errors;
        EXPECT_EQ(copy.Open(feed.Path(), errors), test.error.empty());
        EXPECT_EQ(errors.str(),
                  test.error.empty() ? "" : "Can't read file " + feed.Path() + test.error);
    }
}
} // namespace
