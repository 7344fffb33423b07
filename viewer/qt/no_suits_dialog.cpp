#include "viewer/qt/no_suits_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

NoSuitsDialog::NoSuitsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("No Varnel Suits Detected");
    auto* text = new QLabel("No Varnel suits detected.\n\nCheck the box to prevent looking for "
                            "suits on startup in the future.  You can turn this feature back "
                            "on in the Options menu.");
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    dontLookBox = new QCheckBox("Don't look for suits on startup in the future.");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::pair<const char*, NoSuitsAnswer> choices[] = {{"Abort", NoSuitsAnswer::Abort},
                                                             {"Retry", NoSuitsAnswer::Retry},
                                                             {"Ignore", NoSuitsAnswer::Ignore}};
    for (auto [label, answer] : choices) {
        auto* button = new QPushButton(label);
        // Enter presses Abort wherever the focus is, so no other button
        // takes the default on focus.
        button->setAutoDefault(false);
        button->setDefault(answer == NoSuitsAnswer::Abort);
        connect(button, &QPushButton::clicked, this, [this, answer] { done(int(answer)); });
        buttons->addWidget(button);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(dontLookBox);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

NoSuitsAnswer NoSuitsDialog::Ask(int* dontLook)
{
    dontLookBox->setChecked(false);
    int result = exec();
    // Esc and the close box reject: the dialog's own Rejected code.
    if (result == QDialog::Rejected)
        return NoSuitsAnswer::Closed;
    *dontLook = dontLookBox->isChecked() ? 1 : 0;
    return NoSuitsAnswer(result);
}
