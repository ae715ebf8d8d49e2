#include <QApplication>
#include <QElapsedTimer>
#include <csignal>
#include <filesystem>

#include "config/config_data.h"
#include "res/dialog_102.h"
#include "ui/close_on_signal.h"
#include "ui_fixture.h"

namespace {

class CloseOnSignalTest : public MainWindowTest {
protected:
    // Runs events until the window has ended, for at most a few seconds.
    void WaitForEnd() const {
        QElapsedTimer timer;
        timer.start();
        while (!dialog->IsEnded() && timer.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }
};

TEST_F(CloseOnSignalTest, StopSignalsCloseTheWindowAndKeepItsSettings) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::filesystem::remove(folder.File("Config.dat"));
        ASSERT_TRUE(Start());
        dialog->show();
        dialog->Click(res::kIdGunner);
        {
            CloseOnSignal closeOnSignal(*dialog);
            std::raise(signal);
            WaitForEnd();
        }
        EXPECT_TRUE(dialog->IsEnded()) << signal;
        CConfigData saved;
        ASSERT_TRUE(saved.Load(folder.Path())) << signal;
        EXPECT_EQ(saved.m_nWeaponType, 2) << signal;
        dialog.reset();
    }
    // The default action is back once the guard is gone.
    struct sigaction action {};
    ::sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
}

} // namespace
