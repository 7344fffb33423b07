#include "viewer/qt/floor_dialog.h"

#include "viewer/qt/form_dialog.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FloorDialog::FloorDialog(FloorForm& form, QWidget* parent) : QDialog(parent), form(form)
{
    setWindowTitle("Adjust Floor Geometry");
    const std::tuple<const char*, const char*, std::string FloorForm::*, FloorField> rows[] = {
        {"Slope of floor in X:", "dzdx", &FloorForm::dzdx, FloorField::Dzdx},
        {"Slope of floor in Y:", "dzdy", &FloorForm::dzdy, FloorField::Dzdy},
        {"Height of floor at origin:", "z0", &FloorForm::z0, FloorField::Z0},
        {"Number of steps (0 for ramp):", "numSteps", &FloorForm::numSteps, FloorField::NumSteps},
        {"Min. height of floor:", "min", &FloorForm::min, FloorField::Min},
        {"Max. height of floor:", "max", &FloorForm::max, FloorField::Max},
    };
    auto* grid = new QGridLayout;
    for (auto [text, name, member, field] : rows) {
        auto* edit = new QLineEdit;
        edit->setObjectName(name);
        edit->setMaximumWidth(110);
        edit->installEventFilter(this);
        auto* label = new QLabel(text);
        label->setBuddy(edit);
        int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        edits.push_back({edit, member, field});
    }
    clamp = new QCheckBox("Restrict floor between Min and Max values");
    connect(clamp, &QCheckBox::clicked, this, &FloorDialog::Apply);

    auto* defaultFloor = new QPushButton("&Default Floor");
    defaultFloor->setAutoDefault(false);
    connect(defaultFloor, &QPushButton::clicked, this, [this] {
        Read();
        std::optional<DialogNotice> notice = this->form.DefaultFloor();
        Show();
        Tell(notice);
    });
    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &FloorDialog::accept);
    auto* cancel = new QPushButton("Cancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &FloorDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaultFloor);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(clamp);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    Show();
}

void FloorDialog::Read()
{
    for (const Edit& edit : edits)
        form.*edit.text = FromQString(edit.edit->text());
    form.clamp = clamp->isChecked();
}

void FloorDialog::Show()
{
    for (const Edit& edit : edits)
        edit.edit->setText(ToQString(form.*edit.text)); // also clears "modified"
    clamp->setChecked(form.clamp);
}

void FloorDialog::Tell(const std::optional<DialogNotice>& notice)
{
    QWidget* focus = nullptr;
    for (const Edit& edit : edits)
        if (notice && int(edit.field) == notice->focus)
            focus = edit.edit;
    TellUser(this, notice, focus);
}

void FloorDialog::Apply()
{
    if (closing)
        return;
    Read();
    Tell(form.Apply());
}

bool FloorDialog::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::FocusOut) {
        // The window losing the focus (to the message box, or to another
        // program) leaves the focus with the field: nothing to apply yet.
        Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            edit->isModified()) {
            edit->setModified(false);
            // Once the focus has settled on the next control: a message box
            // shown in the middle of a focus change would lose the focus.
            QMetaObject::invokeMethod(this, &FloorDialog::Apply, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FloorDialog::accept()
{
    Read();
    std::optional<DialogNotice> notice = form.Ok();
    if (notice)
        Tell(notice);
    else
        QDialog::accept();
}

void FloorDialog::done(int result)
{
    closing = true;
    QDialog::done(result);
}

bool RunFloorDialog(QWidget* parent, FloorForm& form)
{
    FloorDialog dialog(form, parent);
    return dialog.exec() == QDialog::Accepted;
}
