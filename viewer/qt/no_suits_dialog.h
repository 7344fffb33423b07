// The start-up prompt shown when no suit answers.
#pragma once

#include "viewer/shell.h"

#include <QDialog>

class QCheckBox;

class NoSuitsDialog : public QDialog {
    Q_OBJECT

  public:
    explicit NoSuitsDialog(QWidget* parent);

    // Runs the prompt; dontLook takes the check box only when a button
    // closed it, not Esc or the close box.
    NoSuitsAnswer Ask(int* dontLook);

  private:
    QCheckBox* dontLookBox;
};
