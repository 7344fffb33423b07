// The Input Options dialog over its form: the suit list, the frame rate and
// the recording options.
#pragma once

#include "viewer/input_options.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

class InputOptionsDialog : public QDialog {
    Q_OBJECT

  public:
    InputOptionsDialog(InputOptionsForm& form, QWidget* parent);

    // OK: closes only when the form agrees.
    void accept() override;

  private:
    void Read();
    void Show();
    void Tell(const std::optional<DialogNotice>& notice);
    void ClickUnit(bool toFrames);
    void FindSuits();

    InputOptionsForm& form;
    QComboBox* suitList;
    QLineEdit* frameRate;
    QCheckBox* usePositionSensor;
    QCheckBox* recordStop;
    QLineEdit* limit;
    QRadioButton* framesButton;
    QRadioButton* secondsButton;
    QCheckBox* delayEnable;
    QLineEdit* delay;
    QCheckBox* beep;
    QCheckBox* autoload;
};

// True when the dialog ended with OK.
bool RunInputOptionsDialog(QWidget* parent, InputOptionsForm& form);
