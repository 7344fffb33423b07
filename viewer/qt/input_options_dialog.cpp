#include "viewer/qt/input_options_dialog.h"

#include "viewer/qt/form_dialog.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

InputOptionsDialog::InputOptionsDialog(InputOptionsForm& form, QWidget* parent)
    : QDialog(parent), form(form)
{
    setWindowTitle("Input Options");
    suitList = new QComboBox;
    suitList->setMinimumContentsLength(28);
    frameRate = new QLineEdit;
    frameRate->setReadOnly(true);
    usePositionSensor = new QCheckBox("Use position sensor");
    recordStop = new QCheckBox("Stop recording after:");
    limit = new QLineEdit;
    framesButton = new QRadioButton("Frames");
    secondsButton = new QRadioButton("Seconds");
    delayEnable = new QCheckBox("Delay before Record or Live in seconds");
    delay = new QLineEdit;
    beep = new QCheckBox("Beep on Live and start/stop Record");
    autoload = new QCheckBox("Automatically load last actor file on startup");
    const std::pair<QLineEdit*, const char*> edits[] = {
        {frameRate, "frameRate"}, {limit, "limit"}, {delay, "delay"}};
    for (auto [edit, name] : edits) {
        edit->setObjectName(name);
        edit->setMaximumWidth(90);
    }

    auto* suitLabel = new QLabel("Varnel suit:");
    suitLabel->setBuddy(suitList);
    auto* rateLabel = new QLabel("Frame Rate in frames per second:");
    rateLabel->setBuddy(frameRate);
    auto* top = new QGridLayout;
    top->addWidget(suitLabel, 0, 0);
    top->addWidget(suitList, 0, 1);
    top->addWidget(rateLabel, 1, 0);
    top->addWidget(frameRate, 1, 1, Qt::AlignLeft);

    // The radio buttons act on their own: a click on the button already
    // ticked does nothing, and a refused limit ticks the old one again.
    auto* units = new QButtonGroup(this);
    units->addButton(framesButton);
    units->addButton(secondsButton);
    connect(framesButton, &QRadioButton::clicked, this, [this] { ClickUnit(true); });
    connect(secondsButton, &QRadioButton::clicked, this, [this] { ClickUnit(false); });
    auto* stopRow = new QHBoxLayout;
    stopRow->addWidget(recordStop);
    stopRow->addWidget(limit);
    stopRow->addWidget(framesButton);
    stopRow->addWidget(secondsButton);
    stopRow->addStretch();

    auto* delayRow = new QHBoxLayout;
    delayRow->addSpacing(24);
    delayRow->addWidget(delay);
    delayRow->addStretch();

    auto* findSuits = new QPushButton("Find Suits");
    findSuits->setAutoDefault(false);
    connect(findSuits, &QPushButton::clicked, this, &InputOptionsDialog::FindSuits);
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &InputOptionsDialog::accept);
    auto* cancel = new QPushButton("Cancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &InputOptionsDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(findSuits);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    connect(suitList, &QComboBox::activated, this, [this] {
        Read();
        this->form.ChooseRow();
        Show();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(usePositionSensor);
    layout->addLayout(stopRow);
    layout->addWidget(delayEnable);
    layout->addLayout(delayRow);
    layout->addWidget(beep);
    layout->addWidget(autoload);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    Show();
}

void InputOptionsDialog::Read()
{
    form.selectedRow = suitList->currentIndex();
    form.usePositionSensor = usePositionSensor->isChecked();
    form.recordStop = recordStop->isChecked();
    form.limit = FromQString(limit->text());
    form.delayEnable = delayEnable->isChecked();
    form.delay = FromQString(delay->text());
    form.beep = beep->isChecked();
    form.autoload = autoload->isChecked();
}

void InputOptionsDialog::Show()
{
    QStringList rows;
    for (const std::string& row : form.suitRows)
        rows << ToQString(row);
    QStringList shown;
    for (int i = 0; i < suitList->count(); i++)
        shown << suitList->itemText(i);
    if (rows != shown) {
        suitList->clear();
        suitList->addItems(rows);
    }
    suitList->setCurrentIndex(form.selectedRow);
    frameRate->setText(ToQString(form.frameRate));
    usePositionSensor->setEnabled(form.positionSensorEnabled);
    usePositionSensor->setChecked(form.usePositionSensor);
    recordStop->setChecked(form.recordStop);
    limit->setText(ToQString(form.limit));
    framesButton->setChecked(form.frames);
    secondsButton->setChecked(!form.frames);
    delayEnable->setChecked(form.delayEnable);
    delay->setText(ToQString(form.delay));
    beep->setChecked(form.beep);
    autoload->setChecked(form.autoload);
}

void InputOptionsDialog::Tell(const std::optional<DialogNotice>& notice)
{
    QWidget* focus = nullptr;
    if (notice)
        switch (InputOptionsField(notice->focus)) {
        case InputOptionsField::FrameRate: focus = frameRate; break;
        case InputOptionsField::Limit: focus = limit; break;
        case InputOptionsField::Delay: focus = delay; break;
        }
    TellUser(this, notice, focus);
}

void InputOptionsDialog::ClickUnit(bool toFrames)
{
    Read();
    std::optional<DialogNotice> notice = form.ClickUnit(toFrames);
    Show();
    Tell(notice);
}

void InputOptionsDialog::FindSuits()
{
    Read();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<DialogNotice> notice = form.FindSuits();
    QApplication::restoreOverrideCursor();
    Show();
    Tell(notice);
}

void InputOptionsDialog::accept()
{
    Read();
    std::optional<DialogNotice> notice = form.Ok();
    Show();
    if (notice)
        Tell(notice);
    else
        QDialog::accept();
}

bool RunInputOptionsDialog(QWidget* parent, InputOptionsForm& form)
{
    InputOptionsDialog dialog(form, parent);
    return dialog.exec() == QDialog::Accepted;
}
