#include "viewer/qt/bvh_options_dialog.h"

#include "viewer/qt/form_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

BvhOptionsDialog::BvhOptionsDialog(BvhFileOptionsForm& form, QWidget* parent)
    : QDialog(parent), form(form)
{
    setWindowTitle("BVH File Options");
    angle = new QLineEdit(ToQString(form.angle));
    ratio = new QLineEdit(ToQString(form.ratio));
    angle->setObjectName("angle");
    ratio->setObjectName("ratio");
    auto* grid = new QGridLayout;
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Angle from Ankle to Heel to Ball of Foot:", angle},
        {"Ball of Foot to Heel distance over Ankle to Heel distance:", ratio}};
    int row = 0;
    for (auto [text, edit] : rows) {
        auto* label = new QLabel(text);
        label->setBuddy(edit);
        edit->setMaximumWidth(90);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row++, 1);
    }

    auto* ok = new QPushButton("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &BvhOptionsDialog::accept);
    auto* cancel = new QPushButton("Cancel");
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &BvhOptionsDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

void BvhOptionsDialog::accept()
{
    form.angle = FromQString(angle->text());
    form.ratio = FromQString(ratio->text());
    if (std::optional<DialogNotice> notice = form.Ok())
        TellUser(this, notice,
                 BvhFileOptionsField(notice->focus) == BvhFileOptionsField::Angle ? angle : ratio);
    else
        QDialog::accept();
}

bool RunBvhOptionsDialog(QWidget* parent, BvhFileOptionsForm& form)
{
    BvhOptionsDialog dialog(form, parent);
    return dialog.exec() == QDialog::Accepted;
}
