// How long the main window takes to fill its result list with the 10000 sets of the 5-skill
// search with a three-slot weapon on the bundled tables (ranked by defence, the default): the
// completion handler run again on the same results, as after the search.
//
//   QT_QPA_PLATFORM=offscreen kestrova_window_fill [table folder]   (default: the bundled tables)

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/choose_skills.h"
#include "res/dialog_102.h"
#include "ui/framework/scripted_prompter.h"
#include "ui/simulator_dlg.h"

namespace {

const char* const kSkills[] = {"先読み", "重撃【小】", "剛腕", "解体上手", "龍攻撃UP【小】"};
constexpr int kFills = 5;

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string tables =
        (argc > 1 ? std::string(argv[1]) : std::string(KESTROVA_SOURCE_DIR "/data")) + "/";
    QTemporaryDir program;
    ui::ScriptedPrompter prompter;
    CSimulatorDlg window(QFile::encodeName(program.path()).toStdString() + "/", tables, prompter);
    if (!program.isValid() || !window.InitDialog() ||
        !ChooseSkills(window, kSkills, "window_fill")) {
        return EXIT_FAILURE;
    }
    window.CheckRadio(res::kIdWeaponSlot3);
    window.show();
    window.Click(res::kIdSearch);
    QApplication::processEvents();
    const std::size_t sets = window.m_search.results.size();

    QElapsedTimer clock;
    qint64 fastest = -1;
    qint64 total = 0;
    for (int fill = 0; fill < kFills; ++fill) {
        clock.start();
        window.OnSearchFinished(window.m_search.visited, window.m_search.totalCombos);
        QApplication::processEvents();
        const qint64 elapsed = clock.elapsed();
        fastest = fastest < 0 ? elapsed : std::min(fastest, elapsed);
        total += elapsed;
    }
    std::printf("result list of %zu sets filled in %lld ms (fastest of %d), %lld ms on average\n",
                sets, static_cast<long long>(fastest), kFills,
                static_cast<long long>(total / kFills));
    return EXIT_SUCCESS;
}
