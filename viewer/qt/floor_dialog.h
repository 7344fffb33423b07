// The Adjust Floor Geometry dialog over its form: an edit is applied as it
// loses the focus, so the floor moves in the view while the dialog is open.
#pragma once

#include "viewer/floor_options.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QLineEdit;

class FloorDialog : public QDialog {
    Q_OBJECT

  public:
    FloorDialog(FloorForm& form, QWidget* parent);

    // OK: applies and closes only when every field reads.
    void accept() override;
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Edit {
        QLineEdit* edit;
        std::string FloorForm::*text;
        FloorField field;
    };

    void Read();
    void Show();
    void Tell(const std::optional<DialogNotice>& notice);
    void Apply();

    FloorForm& form;
    std::vector<Edit> edits;
    QCheckBox* clamp;
    bool closing = false; // nothing is applied once the dialog is ending
};

// True when the dialog ended with OK.
bool RunFloorDialog(QWidget* parent, FloorForm& form);
