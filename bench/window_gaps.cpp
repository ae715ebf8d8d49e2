// How long the main window leaves its event loop unattended during a search that finds nothing
// on the 4x tables, advice included: the longest gap between two ticks of a 10 ms timer.
//
//   QT_QPA_PLATFORM=offscreen kestrova_window_gaps [table folder]   (default: the 4x tables)

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/choose_skills.h"
#include "res/dialog_102.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/simulator_dlg.h"

namespace {

// Five skills and a minimum defence that no set of the 4x tables meets together.
const char* const kSkills[] = {"解体上手", "剛腕", "重撃【小】", "龍攻撃UP【小】", "先読み"};
constexpr char kMinDefence[] = "380";

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string tables = (argc > 1 ? std::string(argv[1]) : KESTROVA_BENCH_DATA "/x4") + "/";
    QTemporaryDir program;
    ui::ScriptedPrompter prompter;
    CSimulatorDlg window(QFile::encodeName(program.path()).toStdString() + "/", tables, prompter);
    if (!program.isValid() || !window.InitDialog() ||
        !ChooseSkills(window, kSkills, "window_gaps")) {
        return EXIT_FAILURE;
    }
    window.SetCheck(res::kIdMinDefence, true);
    window.OnBnClickedMinDefence();
    window.SetText(res::kIdMinDefenceValue, kMinDefence);

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - lastTick);
        lastTick = clock.elapsed();
    });
    ticks.start(10);
    clock.start();
    window.Click(res::kIdSearch);
    // The completion message, and with it the advice, arrives through the queue.
    QApplication::processEvents();
    const qint64 total = clock.elapsed();
    longestGap = std::max(longestGap, total - lastTick);
    std::printf("search and advice %lld ms, longest gap between two processed ticks %lld ms\n",
                static_cast<long long>(total), static_cast<long long>(longestGap));
    return EXIT_SUCCESS;
}
