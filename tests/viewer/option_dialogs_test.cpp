// The option dialogs' logic through the fake shell, without suits.
#include "tests/viewer/viewer_test_support.h"
#include "viewer/commands.h"
#include "viewer/settings.h"

#include <arpa/inet.h>
#include <climits>
#include <cstring>

namespace {
TEST(DialogFields, TextsAreReadOrRefusedWithTheMessageAUserExpects)
{
    const double Any = HUGE_VAL;
    const struct {
        const char* text;
        bool integer;
        double min, max;
        const char* message; // "" when accepted
        double value;
    } cases[] = {
        {"abc", false, -Any, Any, "Please enter a number.", 0},
        {"abc", true, INT_MIN, INT_MAX, "Please enter an integer.", 0},
        {"", false, -Any, Any, "Please enter a number.", 0},
        {"1.5", true, INT_MIN, INT_MAX, "Please enter an integer.", 0},
        {"12abc", true, INT_MIN, INT_MAX, "Please enter an integer.", 0},
        {"nan", false, -Any, Any, "Please enter a number.", 0},
        {"inf", false, -Any, Any, "Please enter a number.", 0},
        {"1e39", false, -Any, Any, "Please enter a number.", 0}, // no float holds it
        {"99999999999", true, INT_MIN, INT_MAX, "Please enter an integer.", 0},
        {"0.5", false, 1, 1000, "Please enter a number between 1 and 1000.", 0},
        {"1000", true, 0, 999, "Please enter an integer between 0 and 999.", 0},
        {"400", false, -360, 360, "Please enter a number between -360 and 360.", 0},
        {"-1", true, 0, 1000000, "Please enter an integer between 0 and 1000000.", 0},
        {"99999999999", true, 0, 1000000, "Please enter an integer between 0 and 1000000.", 0},
        {"3", false, 0.5, 2.25, "Please enter a number between 0.5 and 2.25.", 0},
        {" 12 ", true, INT_MIN, INT_MAX, "", 12},
        {"+3", true, 0, 999, "", 3},
        {"-360", false, -360, 360, "", -360},
        {".25", false, -Any, Any, "", 0.25},
        {"-1.5e2", false, -Any, Any, "", -150},
    };
    for (const auto& c : cases) {
        FieldReading reading = c.integer ? ReadInteger(c.text, int(c.min), int(c.max))
                                         : ReadNumber(c.text, c.min, c.max);
        EXPECT_EQ(reading.message, c.message) << c.text;
        if (reading.Valid()) {
            EXPECT_EQ(reading.value, c.value) << c.text;
        }
    }
}

TEST(DialogFields, RecordLimitConversionRoundsToTheNearestCount)
{
    const struct {
        bool toFrames;
        int limit;
        float rate;
        int converted;
    } cases[] = {
        {true, 5, 30, 150},    {false, 150, 30, 5}, {false, 100, 30, 3},
        {false, 105, 30, 4},   {true, 5, 0, 150},   {false, 100, 0, 3},
        {true, 2, 29.97f, 60}, {true, 5, 0.5f, 3},  {true, INT_MAX, 1000, INT_MAX},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.toFrames ? FramesFromSeconds(c.limit, c.rate)
                             : SecondsFromFrames(c.limit, c.rate),
                  c.converted)
            << c.limit << (c.toFrames ? " s at " : " frames at ") << c.rate;
}

TEST(DialogFields, SuitRowsShowAddressPortAndAPrintableName)
{
    auto suit = [](const char* name) {
        SuitInfo info = {};
        const uint8_t address[4] = {10, 0, 0, 7};
        std::memcpy(&info.address, address, 4);
        info.port = htons(8000);
        std::strncpy(info.name, name, sizeof info.name);
        return info;
    };
    EXPECT_EQ(SuitRowText(suit("Studio A")), "IP 10.0.0.7:8000 \"Studio A\"");
    EXPECT_EQ(SuitRowText(suit("")), "IP 10.0.0.7:8000");
    EXPECT_EQ(SuitRowText(suit("A\nB\x7f")), "IP 10.0.0.7:8000 \"A?B?\"");
    SuitInfo full = suit("");
    std::memset(full.name, 'x', sizeof full.name); // no terminating zero
    EXPECT_EQ(SuitRowText(full), "IP 10.0.0.7:8000 \"" + std::string(16, 'x') + "\"");
}

using OptionDialogsTest = ViewerTest;

TEST_F(OptionDialogsTest, InputOptionsWithoutSuitsCountsSecondsAtThirtyAndStoresOnOkOnly)
{
    state.RecordLimitFS = 5;
    state.RecordFramesOrSeconds = 0;
    std::vector<std::string> shown;
    shell.inputOptionsUser = [&](InputOptionsForm& form) {
        shown = {form.frameRate, form.limit, form.frames ? "Frames" : "Seconds"};
        EXPECT_TRUE(form.suitRows.empty());
        EXPECT_FALSE(form.ClickUnit(true));
        shown.push_back(form.limit);
        form.beep = false;
        form.delayEnable = true;
        form.delay = "7";
        return !form.Ok();
    };
    RunCommand(state, shell, Command::InputOptions);
    EXPECT_EQ(shown, (std::vector<std::string>{"30", "5", "Seconds", "150"}));
    EXPECT_EQ(state.RecordLimitFS, 150);
    EXPECT_EQ(state.RecordFramesOrSeconds, 1);
    EXPECT_EQ(std::tuple(state.RecordBeep.load(), state.RecordDelayEnable.load(),
                         state.RecordDelay.load()),
              std::tuple(0, 1, 7));

    // Cancel keeps the settings whatever was changed.
    shell.inputOptionsUser = [](InputOptionsForm& form) {
        EXPECT_EQ(form.limit, "150");
        EXPECT_FALSE(form.ClickUnit(false));
        EXPECT_EQ(form.limit, "5");
        form.autoload = false;
        return false;
    };
    RunCommand(state, shell, Command::InputOptions);
    EXPECT_EQ(state.RecordLimitFS, 150);
    EXPECT_EQ(state.RecordFramesOrSeconds, 1);
    EXPECT_EQ(state.Autoload, 1);
}

TEST_F(OptionDialogsTest, InputOptionsRefusesBadFieldsAndStaysOpen)
{
    const struct {
        std::string limit, delay;
        const char* message;
        InputOptionsField focus;
    } cases[] = {
        {"5", "1000", "Please enter an integer between 0 and 999.", InputOptionsField::Delay},
        {"abc", "3", "Please enter an integer.", InputOptionsField::Limit},
    };
    for (const auto& c : cases) {
        state.RecordDelay = 3;
        shell.inputOptionsUser = [&](InputOptionsForm& form) {
            form.limit = c.limit;
            form.delay = c.delay;
            std::optional<DialogNotice> notice = form.Ok();
            EXPECT_TRUE(notice && notice->text == c.message && notice->focus == int(c.focus))
                << c.message;
            return !notice; // the dialog would stay open; the user cancels
        };
        RunCommand(state, shell, Command::InputOptions);
        EXPECT_EQ(state.RecordDelay, 3);
    }

    // A unit switch with a limit that is not an integer keeps the unit.
    shell.inputOptionsUser = [](InputOptionsForm& form) {
        form.limit = "5x";
        std::optional<DialogNotice> notice = form.ClickUnit(true);
        EXPECT_TRUE(notice && notice->text == "Please enter an integer.");
        EXPECT_FALSE(form.frames);
        EXPECT_EQ(form.limit, "5x");
        return false;
    };
    RunCommand(state, shell, Command::InputOptions);
}

TEST_F(OptionDialogsTest, BvhFileOptionsStoresOnOkAndRefusesAnAngleOutOfRange)
{
    shell.bvhFileOptionsUser = [](BvhFileOptionsForm& form) {
        EXPECT_EQ(form.angle, "85");
        EXPECT_EQ(form.ratio, "1.5");
        form.angle = "400";
        form.ratio = "2.25";
        std::optional<DialogNotice> notice = form.Ok();
        EXPECT_TRUE(notice && notice->text == "Please enter a number between -360 and 360." &&
                    notice->focus == int(BvhFileOptionsField::Angle));
        form.angle = "-45";
        return !form.Ok();
    };
    RunCommand(state, shell, Command::BvhFileOptions);
    EXPECT_EQ(state.AnkleHeelBallAngle, -45.0f);
    EXPECT_EQ(state.BallToHeel_AnkleToHeel_Ratio, 2.25f);

    shell.bvhFileOptionsUser = [](BvhFileOptionsForm& form) {
        form.angle = "10";
        return false;
    };
    RunCommand(state, shell, Command::BvhFileOptions);
    EXPECT_EQ(state.AnkleHeelBallAngle, -45.0f);
}

FloorGeometry LibraryFloor()
{
    FloorGeometry floor;
    VarnelGetFloor(&floor);
    return floor;
}

bool SameFloor(const FloorGeometry& a, const FloorGeometry& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(OptionDialogsTest, FloorEditsApplyAtOnceAndCancelPutsTheFloorBack)
{
    const FloorGeometry before = {0.1f, 0, 1.5f, -2, 2, 1, 4};
    state.Floor = before;
    VarnelSetFloor(before);
    shell.floorGeometryUser = [&](FloorForm& form) {
        EXPECT_EQ((std::vector{form.dzdx, form.dzdy, form.z0, form.numSteps, form.min, form.max}),
                  (std::vector<std::string>{"0.1", "0", "1.5", "4", "-2", "2"}));
        form.z0 = "2.5";
        int repaints = shell.repaints;
        EXPECT_FALSE(form.Apply());
        EXPECT_EQ(state.Floor.z0, 2.5f);
        EXPECT_EQ(LibraryFloor().z0, 2.5f);
        EXPECT_EQ(shell.repaints, repaints + 1);

        // A refused field applies nothing, not even the fields before it.
        form.clamp = false;
        form.numSteps = "-1";
        std::optional<DialogNotice> notice = form.Apply();
        EXPECT_TRUE(notice && notice->text == "Please enter an integer between 0 and 1000000." &&
                    notice->focus == int(FloorField::NumSteps));
        EXPECT_EQ(state.Floor.clamp, 1);
        return false;
    };
    RunCommand(state, shell, Command::AdjustFloorGeometry);
    EXPECT_TRUE(SameFloor(state.Floor, before));
    EXPECT_TRUE(SameFloor(LibraryFloor(), before));
}

TEST_F(OptionDialogsTest, DefaultFloorThenOkKeepsSevenZerosForTheSettingsFile)
{
    state.Floor = {0.1f, 0.2f, 1.5f, -2, 2, 1, 4};
    shell.floorGeometryUser = [](FloorForm& form) {
        EXPECT_FALSE(form.DefaultFloor());
        EXPECT_EQ(form.numSteps, "0");
        return !form.Ok();
    };
    RunCommand(state, shell, Command::AdjustFloorGeometry);
    EXPECT_TRUE(SameFloor(state.Floor, FloorGeometry{}));
    EXPECT_TRUE(SameFloor(LibraryFloor(), FloorGeometry{}));

    IniText file("");
    WriteSettings(state, file);
    for (const char* key : {"Floor.dzdx", "Floor.dzdy", "Floor.z0", "Floor.min", "Floor.max",
                            "Floor.clamp", "Floor.NumSteps"}) {
        char value[32];
        ASSERT_TRUE(file.Find("Varnel", key, value, sizeof value)) << key;
        EXPECT_EQ(std::stod(value), 0.0) << key;
    }
}
} // namespace
