// The BVH File Options dialog over its form: the two foot values.
#pragma once

#include "viewer/bvh_file_options.h"

#include <QDialog>

class QLineEdit;

class BvhOptionsDialog : public QDialog {
    Q_OBJECT

  public:
    BvhOptionsDialog(BvhFileOptionsForm& form, QWidget* parent);

    // OK: closes only when both values read.
    void accept() override;

  private:
    BvhFileOptionsForm& form;
    QLineEdit* angle;
    QLineEdit* ratio;
};

// True when the dialog ended with OK.
bool RunBvhOptionsDialog(QWidget* parent, BvhFileOptionsForm& form);
