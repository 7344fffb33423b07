// One QApplication for the test program (offscreen: CTest sets the
// platform), and a way to act on a modal box from inside the event loop it
// runs.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

class QtApplication : public testing::Environment {
  public:
    void SetUp() override { application = new QApplication(argc, argv); }
    void TearDown() override { delete application; }

  private:
    int argc = 1;
    char name[16] = "test_viewer_qt";
    char* argv[2] = {name, nullptr};
    QApplication* application = nullptr;
};

inline testing::Environment* const QtApplicationRegistration =
    testing::AddGlobalTestEnvironment(new QtApplication);

// Runs act once on the next modal window to open, from the event loop that
// window runs; the timer goes with the window.
inline void WhenModalOpens(std::function<void(QWidget*)> act)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(10);
}
