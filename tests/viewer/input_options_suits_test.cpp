// The Input Options command with suits on the loopback network: the suit is
// closed while the dialog is open and a suit is opened again when it ends.
#include "tests/suitlink/suit_link_test_support.h"
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"
#include "viewer/engine.h"

namespace {
class InputOptionsSuitsTest : public ViewerTest {
  protected:
    void SetUp() override
    {
        ViewerTest::SetUp();
        ASSERT_EQ(VarnelInit(), 1);
        ASSERT_EQ(FindSuitsWhileSending({{&walker, MakePacket("Walker", 40.0f, 0)},
                                         {&sensor, MakePacket("", 50.0f, 2)},
                                         {&slow, MakePacket("Slow", 0.5f, 2)}}),
                  3);
        OpenSuit(state); // the first by address: walker
        ASSERT_EQ(state.SuitHandle, VarnelHandleFromInfo(&walker.Info()));
        state.RecordLimitFS = 5;
        state.RecordFramesOrSeconds = 0;
    }

    static std::string Row(const TestSuit& suit, const char* name)
    {
        SuitInfo info = suit.Info();
        std::strncpy(info.name, name, sizeof info.name);
        return SuitRowText(info);
    }

    TestSuit walker{0x7f010203}, sensor{0x7f010204}, slow{0x7f010205};
};

TEST_F(InputOptionsSuitsTest, TheSuitIsClosedMeanwhileAndCancelReopensIt)
{
    shell.inputOptionsUser = [&](InputOptionsForm& form) {
        EXPECT_EQ(state.SuitHandle, nullptr);
        EXPECT_EQ(VarnelHandleFromInfo(&walker.Info()), nullptr);
        EXPECT_EQ(form.suitRows,
                  (std::vector{Row(walker, "Walker"), Row(sensor, ""), Row(slow, "Slow")}));
        EXPECT_EQ(std::tuple(form.selectedRow, form.frameRate, form.limit),
                  std::tuple(0, "40", "5"));
        EXPECT_FALSE(form.positionSensorEnabled);

        // A rate the field refuses: only another suit or Cancel ends the dialog.
        form.selectedRow = 2;
        form.ChooseRow();
        EXPECT_EQ(form.frameRate, "0.5");
        EXPECT_TRUE(form.positionSensorEnabled);
        std::optional<DialogNotice> notice = form.Ok();
        EXPECT_TRUE(notice && notice->text == "Please enter a number between 1 and 1000." &&
                    notice->focus == int(InputOptionsField::FrameRate));

        form.selectedRow = -1;
        form.frameRate = "40";
        notice = form.Ok();
        EXPECT_TRUE(notice && notice->text == "Invalid suit selected" &&
                    notice->icon == MessageIcon::None);
        return false;
    };
    RunCommand(state, shell, Command::InputOptions);
    ASSERT_NE(state.SuitHandle, nullptr);
    EXPECT_EQ(state.SuitHandle, VarnelHandleFromInfo(&walker.Info()));
    EXPECT_EQ(state.RecordLimitFS, 5);
}

TEST_F(InputOptionsSuitsTest, OkOpensTheChosenSuitAndKeepsTheLimitInItsSeconds)
{
    shell.inputOptionsUser = [&](InputOptionsForm& form) {
        form.selectedRow = 1;
        form.ChooseRow();
        EXPECT_EQ(form.frameRate, "50");
        form.usePositionSensor = true;
        EXPECT_FALSE(form.ClickUnit(true));
        EXPECT_EQ(form.limit, "250");
        EXPECT_FALSE(form.ClickUnit(false));
        return !form.Ok();
    };
    RunCommand(state, shell, Command::InputOptions);
    ASSERT_NE(state.SuitHandle, nullptr);
    EXPECT_EQ(state.SuitHandle, VarnelHandleFromInfo(&sensor.Info()));
    EXPECT_EQ(VarnelHandleFromInfo(&walker.Info()), nullptr);
    EXPECT_EQ(std::tuple(state.RecordLimitFS.load(), state.RecordFramesOrSeconds.load(),
                         state.UsePositionSensor.load()),
              std::tuple(5, 0, 1));
}

TEST_F(InputOptionsSuitsTest, FindSuitsRescansWhileTheDialogIsOpen)
{
    shell.inputOptionsUser = [&](InputOptionsForm& form) {
        // Nobody sends now: a rescan that ran (not refused) empties the table.
        std::optional<DialogNotice> notice = form.FindSuits();
        EXPECT_TRUE(notice && notice->text == "No Varnel suits detected" &&
                    notice->icon == MessageIcon::Exclamation);
        EXPECT_EQ(VarnelNumSuits(), 0);
        EXPECT_TRUE(form.suitRows.empty());
        EXPECT_EQ(std::pair(form.selectedRow, form.frameRate), std::pair(-1, std::string("30")));
        return !form.Ok();
    };
    RunCommand(state, shell, Command::InputOptions);
    EXPECT_EQ(state.SuitHandle, nullptr);
    EXPECT_EQ(state.RecordLimitFS, 5);
}
} // namespace
