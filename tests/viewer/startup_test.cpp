#include "viewer/startup.h"

#include "platform/ini_file.h"
#include "tests/support/temp_folder.h"
#include "tests/viewer/viewer_test_support.h"

#include <arpa/inet.h>
#include <unistd.h>

namespace {
// Each test binds the suit port and the searching ones listen a second each.
class StartUpTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        state.MainFrame = nullptr; // start-up's to set
    }
    void WriteSettings(const std::string& lines)
    {
        folder.Write("varnel.ini", "[Varnel]\n" + lines);
    }

    TempFolder folder;
    std::string settingsPath = folder.File("varnel.ini");
};

TEST_F(StartUpTest, AbortWithTheBoxTickedClosesWithoutASuitAndStopsTheSearchForGood)
{
    shell.noSuitsReplies = {{NoSuitsAnswer::Abort, 1}};
    StartUp(state, shell, settingsPath);
    EXPECT_EQ(shell.closeRequests, 1);
    EXPECT_EQ(state.MainFrame, nullptr);
    EXPECT_EQ(state.Skeleton.frames, nullptr);
    EXPECT_TRUE(shell.menuChecks.empty());

    ShutDown(state, shell, settingsPath);
    char value[8];
    IniText::Load(settingsPath.c_str()).Find("Varnel", "LookForSuitOnStartup", value, sizeof value);
    EXPECT_STREQ(value, "0");
}

TEST_F(StartUpTest, IgnoreRunsOnWithoutASuitAndOnlyButtonsTakeTheBox)
{
    shell.noSuitsReplies = {
        {NoSuitsAnswer::Closed, 1}, {NoSuitsAnswer::Retry, 1}, {NoSuitsAnswer::Ignore, 0}};
    std::vector<int> settingAtPrompt;
    shell.whileNoSuitsOpen = [&] { settingAtPrompt.push_back(state.LookForSuitOnStartup); };
    StartUp(state, shell, settingsPath);

    EXPECT_EQ(settingAtPrompt, (std::vector<int>{1, 1, 0}));
    EXPECT_EQ(state.LookForSuitOnStartup, 1);
    EXPECT_EQ(shell.closeRequests, 0);
    EXPECT_EQ(state.MainFrame, &shell);
    EXPECT_EQ(state.SuitHandle, nullptr);
    ASSERT_EQ(state.Skeleton.numFrames, 1);
    EXPECT_FLOAT_EQ(state.Skeleton.frameTime, 1.0f / 30.0f); // the skeleton's own
    EXPECT_EQ(shell.Status(StatusPane::Messages), "Ready");
    EXPECT_TRUE(shell.menuChecks[Command::ShowGrid]);
    EXPECT_NE(state.camera.ViewScale, DefaultViewScale); // centred on the rest pose
}

TEST_F(StartUpTest, PortInUseIsReportedAndTheProgramGoesOn)
{
    LoopbackSocket blocker(AnyIpv4Address, SuitPort());
    ASSERT_TRUE(blocker.Bound());
    WriteSettings("LookForSuitOnStartup=0\n");
    StartUp(state, shell, settingsPath);

    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messages[0].text, "Error initializing Varnel");
    EXPECT_EQ(shell.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(state.Skeleton.numFrames, 1);
}

TEST_F(StartUpTest, AutoloadSaysWhichActorFileItRead)
{
    ActorData actor;
    VarnelGetActorData(nullptr, &actor);
    std::string good = folder.File("good.vnl"), missing = folder.File("missing.vnl");
    ASSERT_EQ(VarnelWriteActorData(good.c_str(), &actor, ActorUnitsInches), 1);
    struct Case {
        int autoload;
        std::string path, message;
    } cases[] = {{1, good, "Reading file " + good},
                 {1, missing, "Error reading file " + missing},
                 {1, "", "Ready"},
                 {0, good, "Ready"}};
    for (const Case& c : cases) {
        ResetViewerForTesting();
        FakeShell window;
        WriteSettings("LookForSuitOnStartup=0\nAutoload=" + std::to_string(c.autoload) +
                      "\nCurrentActorFile=" + c.path + "\n");
        StartUp(state, window, settingsPath);
        EXPECT_EQ(window.Status(StatusPane::Messages), c.message) << c.path;
        ShutDown(state, window, settingsPath);
    }
}
} // namespace
