#include "tests/support/temp_folder.h"
#include "tools/actor/actor_conversion.h"
#include "tools/cli/stop_signals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <sys/resource.h>

namespace {
// Each signal is raised in a child process: the flag, once set, stays set.
TEST(StopSignals, InterruptTerminateAndHangUpAskForAStop)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        EXPECT_EXIT(
            {
                const std::atomic<bool>& stop = CatchStopSignals();
                std::raise(signal);
                std::exit(stop.load() ? 0 : 2);
            },
            testing::ExitedWithCode(0), "");
    }
}

TEST(StopSignals, AFileSizeLimitFailsTheWriteWithAMessage)
{
    TempFolder folder;
    const std::string input =
        VARNEL_SOURCE_DIR "/tests/data/golden/actor/default-feet/expected.vnl";
    const std::string output = folder.File("out.vnl");
    const rlimit hundredBytes = {100, 100};
    EXPECT_EXIT(
        {
            IgnoreFileSizeSignal();
            setrlimit(RLIMIT_FSIZE, &hundredBytes);
            std::exit(ConvertActorFile(input, output, ActorUnitsMeters, std::cout, std::cerr));
        },
        testing::ExitedWithCode(1), "Can't write file " + output);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path)) << "no temporary file is left";
}
} // namespace
