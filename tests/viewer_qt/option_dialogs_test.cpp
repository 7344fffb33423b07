// The option dialogs as the user meets them: their controls, OK, refused
// fields and the floor's live edits.
#include "tests/support/fake_shell.h"
#include "tests/viewer_qt/qt_test_support.h"
#include "viewer/qt/bvh_options_dialog.h"
#include "viewer/qt/floor_dialog.h"
#include "viewer/qt/input_options_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <cstring>

namespace {
// Closes every message box that opens while it lives, keeping its text.
class MessageWatch {
  public:
    MessageWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                captions << box->windowTitle();
                texts << box->text();
                box->close();
            }
        });
        timer.start(10);
    }
    bool WaitForMessage()
    {
        return QTest::qWaitFor([this] { return !texts.isEmpty(); }, 3000);
    }

    QStringList captions, texts;

  private:
    QTimer timer;
};

template <typename T = QAbstractButton> T* Button(QWidget* dialog, const QString& text)
{
    for (T* button : dialog->findChildren<T*>())
        if (button->text() == text)
            return button;
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

QLineEdit* Edit(QWidget* dialog, const char* name)
{
    auto* edit = dialog->findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name;
    return edit;
}

// Focus changes reach the fields only once the window is active; a dialog
// that never gets there is closed, so the test fails rather than hangs.
bool Active(QWidget* dialog)
{
    if (QTest::qWaitForWindowActive(dialog))
        return true;
    ADD_FAILURE() << "the dialog never became active";
    dialog->close();
    return false;
}

// As a user does: into the field, over its text, so it counts as edited.
void Type(QLineEdit* edit, const QString& text)
{
    edit->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Presses OK with the field holding text; the dialog answers with message,
// stays open and gives the field the focus again.
void ExpectRefused(QWidget* dialog, const char* field, const QString& text, const QString& message)
{
    QLineEdit* edit = Edit(dialog, field);
    Type(edit, text);
    MessageWatch watch;
    Button(dialog, "OK")->click();
    EXPECT_TRUE(watch.WaitForMessage()) << field;
    EXPECT_EQ(watch.texts, QStringList{message});
    EXPECT_EQ(watch.captions, QStringList{"Varnview"});
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->focusWidget(), edit) << field;
}

TEST(InputOptionsDialog, OpensWithTheSettingsAndOkStoresWhatTheUserChanged)
{
    ViewerSettings settings;
    settings.RecordLimitFS = 150;
    settings.RecordFramesOrSeconds = 1;
    settings.RecordStop = 1;
    settings.RecordDelay = 4;
    settings.RecordBeep = 0;
    InputOptionsForm form(settings, SuitInfo{});
    WhenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Input Options");
        EXPECT_EQ(Edit(dialog, "frameRate")->text(), "30");
        EXPECT_TRUE(Edit(dialog, "frameRate")->isReadOnly());
        EXPECT_EQ(Edit(dialog, "limit")->text(), "150");
        EXPECT_EQ(Edit(dialog, "delay")->text(), "4");
        EXPECT_TRUE(Button<QRadioButton>(dialog, "Frames")->isChecked());
        const std::pair<const char*, bool> boxes[] = {
            {"Use position sensor", false},
            {"Stop recording after:", true},
            {"Delay before Record or Live in seconds", false},
            {"Beep on Live and start/stop Record", false},
            {"Automatically load last actor file on startup", true}};
        for (auto [text, checked] : boxes)
            EXPECT_EQ(Button<QCheckBox>(dialog, text)->isChecked(), checked) << text;

        Button<QRadioButton>(dialog, "Seconds")->click();
        EXPECT_EQ(Edit(dialog, "limit")->text(), "5");
        Button(dialog, "Beep on Live and start/stop Record")->click();
        Type(Edit(dialog, "delay"), "9");
        Button(dialog, "OK")->click();
    });
    ASSERT_TRUE(RunInputOptionsDialog(nullptr, form));
    form.Store(settings);
    EXPECT_EQ(std::tuple(settings.RecordLimitFS.load(), settings.RecordFramesOrSeconds.load(),
                         settings.RecordDelay.load(), settings.RecordBeep.load()),
              std::tuple(5, 0, 9, 1));
}

TEST(OptionDialogs, ARefusedFieldKeepsTheDialogOpenWithTheFocusOnIt)
{
    ViewerSettings settings;
    InputOptionsForm inputForm(settings, SuitInfo{});
    WhenModalOpens([](QWidget* dialog) {
        ExpectRefused(dialog, "delay", "1000", "Please enter an integer between 0 and 999.");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(RunInputOptionsDialog(nullptr, inputForm));

    BvhFileOptionsForm bvhForm(settings);
    WhenModalOpens([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "BVH File Options");
        EXPECT_EQ(Edit(dialog, "angle")->text(), "85");
        EXPECT_EQ(Edit(dialog, "ratio")->text(), "1.5");
        ExpectRefused(dialog, "angle", "400", "Please enter a number between -360 and 360.");
        Type(Edit(dialog, "ratio"), "2");
        Type(Edit(dialog, "angle"), "-45");
        QTest::keyClick(Edit(dialog, "angle"), Qt::Key_Return); // OK is the default
    });
    ASSERT_TRUE(RunBvhOptionsDialog(nullptr, bvhForm));
    bvhForm.Store(settings);
    EXPECT_EQ(std::pair(settings.AnkleHeelBallAngle, settings.BallToHeel_AnkleToHeel_Ratio),
              std::pair(-45.0f, 2.0f));
}

class FloorDialogTest : public testing::Test {
  protected:
    void SetUp() override
    {
        ResetViewerForTesting();
        state.Floor = before;
        VarnelSetFloor(before);
        shell.floorGeometryUser = [](FloorForm& form) { return RunFloorDialog(nullptr, form); };
    }
    void TearDown() override { ResetViewerForTesting(); }

    static FloorGeometry LibraryFloor()
    {
        FloorGeometry floor;
        VarnelGetFloor(&floor);
        return floor;
    }
    static bool Same(const FloorGeometry& a, const FloorGeometry& b)
    {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }

    const FloorGeometry before = {0.1f, 0, 1.5f, -2, 2, 1, 4};
    ViewerState& state = Viewer();
    FakeShell shell;
};

TEST_F(FloorDialogTest, AnEditMovesTheFloorAsItLosesTheFocusAndEscPutsItBack)
{
    WhenModalOpens([this](QWidget* dialog) {
        if (!Active(dialog))
            return;
        EXPECT_EQ(dialog->windowTitle(), "Adjust Floor Geometry");
        QStringList shown;
        for (const char* name : {"dzdx", "dzdy", "z0", "numSteps", "min", "max"})
            shown << Edit(dialog, name)->text();
        EXPECT_EQ(shown, (QStringList{"0.1", "0", "1.5", "4", "-2", "2"}));
        EXPECT_TRUE(Button(dialog, "Restrict floor between Min and Max values")->isChecked());

        Type(Edit(dialog, "z0"), "2.5");
        QTest::keyClick(Edit(dialog, "z0"), Qt::Key_Tab);
        EXPECT_TRUE(QTest::qWaitFor([this] { return LibraryFloor().z0 == 2.5f; }, 3000));
        EXPECT_EQ(state.Floor.z0, 2.5f);
        EXPECT_GT(shell.repaints, 0);

        Button(dialog, "Restrict floor between Min and Max values")->click();
        EXPECT_EQ(LibraryFloor().clamp, 0);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    RunFloorGeometry(state, shell);
    EXPECT_TRUE(Same(state.Floor, before));
    EXPECT_TRUE(Same(LibraryFloor(), before));
}

TEST_F(FloorDialogTest, StepsOutOfRangeAreRefusedAsSoonAsTheFieldLosesTheFocus)
{
    WhenModalOpens([this](QWidget* dialog) {
        if (!Active(dialog))
            return;
        QLineEdit* steps = Edit(dialog, "numSteps");
        Type(steps, "-1");
        MessageWatch watch;
        QTest::keyClick(steps, Qt::Key_Tab);
        EXPECT_TRUE(watch.WaitForMessage());
        EXPECT_EQ(watch.texts, QStringList{"Please enter an integer between 0 and 1000000."});
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->focusWidget(), steps);
        EXPECT_EQ(state.Floor.NumSteps, 4);

        Type(steps, "10");
        Button(dialog, "&Default Floor")->click();
        EXPECT_EQ(steps->text(), "0");
        Button(dialog, "OK")->click();
    });
    RunFloorGeometry(state, shell);
    EXPECT_TRUE(Same(state.Floor, FloorGeometry{}));
    EXPECT_TRUE(Same(LibraryFloor(), FloorGeometry{}));
}
} // namespace
