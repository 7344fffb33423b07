// The About box, centred on the screen.
#pragma once

#include <QString>

class QWidget;

void ShowAboutBox(QWidget* parent, const QString& text);
