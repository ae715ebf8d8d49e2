#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>
#include <csignal>
#include <filesystem>

#include "config/config_data.h"
#include "platform/message_sink.h"
#include "res/dialog_102.h"
#include "ui/close_on_signal.h"
#include "ui_fixture.h"

using namespace res;

namespace {

class StartupTest : public MainWindowTest {};

// Config.dat comes back into the controls, leaving out skills the tables lack, and goes back as it
// was when the close box ends the window.
TEST_F(StartupTest, ConfigComesBackIntoTheControlsAndIsWrittenAtClose) {
    CConfigData config;
    config.m_nSex = 2;
    config.m_nWeaponType = 2;
    config.m_nWeaponSlots = 2;
    config.m_bMinDefence = 1;
    config.m_nMinDefence = 120;
    config.m_bUseExclude = 1;
    config.m_bUseFixed = 1;
    config.m_bOwnedOnly = 1;
    config.m_bNoBodyDoubling = 1;
    config.m_bRarityOff[3] = 1;
    config.m_bFastSearch = 1;
    config.m_bExactFitting = 0;
    config.m_nRankKey = 0;
    config.PushRecentSkill(1, kSniper);
    config.m_nSkillCount = 2;
    config.m_nSkills[0] = kCriticalMinus;
    config.m_nSkills[1] = kPoison;
    platform::RecordingSink sink;
    ASSERT_TRUE(config.Save(folder.Path(), sink));
    const std::string expected = folder.Read("Config.dat");
    config.m_nSkillCount = 5;
    const std::int32_t skills[5] = {kCriticalMinus, 999, kPoison, -4, kPoison};
    std::copy(std::begin(skills), std::end(skills), config.m_nSkills);
    ASSERT_TRUE(config.Save(folder.Path(), sink));

    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    EXPECT_EQ(d.Control<QComboBox>(kIdCategory)->currentText().toStdString(), "最近使ったスキル");
    EXPECT_EQ(d.Control<QComboBox>(kIdRankKey)->currentText().toStdString(), "見つけた順");
    EXPECT_EQ(Indices(SkillList()), (std::vector<int>{kSniper}));
    // The fixed set gives the weapon slots, so the radios are off; its editor is reachable. Nothing
    // was searched: nothing to copy, save or refine.
    EXPECT_EQ(Enabled(d, {kIdMinDefenceValue, kIdWeaponSlot0, kIdEditCustom, kIdClip, kIdSaveFixed,
                          kIdRefine, kIdSaveAll}),
              "+-+----");
    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kCriticalMinus, kPoison}));
    EXPECT_TRUE(ChosenList().GetCheck(0)) << "a minus skill comes back ticked";
    EXPECT_FALSE(ChosenList().GetCheck(1));

    d.close();
    EXPECT_EQ(d.EndCode(), ui::kIdCancel);
    EXPECT_EQ(d.m_search.abortRequested, 1);
    EXPECT_EQ(folder.Read("Config.dat"), expected);

    // What is written comes from the controls: each clicked back, the file holds the defaults. A
    // ticked minimum of 0 is no minimum.
    ASSERT_TRUE(Start());
    for (int id :
         std::initializer_list<int>{kIdMale, kIdBlade, kIdUseExclude, kIdUseFixed, kIdWeaponSlot0,
                                    kIdOwnedOnly, kIdNoBodyDoubling, kRarityButtonIds[3],
                                    kIdFastSearch, kIdExactFitting, kIdClearSkills}) {
        dialog->Click(id);
    }
    dialog->SetText(kIdMinDefenceValue, "0");
    dialog->Control<QComboBox>(kIdRankKey)->setCurrentIndex(1);
    dialog->close();
    const std::string written = folder.Read("Config.dat");
    CConfigData defaults;
    defaults.PushRecentSkill(1, kSniper);
    ASSERT_TRUE(defaults.Save(folder.Path(), sink));
    EXPECT_EQ(written, folder.Read("Config.dat"));
}

// What a caption leaves unsaid comes as a tooltip where the pointer rests: on the "除" header of
// the chosen skills, and on the edit button while nothing is ticked that would enable it.
TEST_F(StartupTest, ControlsThatPuzzleANewPlayerExplainThemselves) {
    ASSERT_TRUE(Start());
    dialog->show();
    QHeaderView& header = *ChosenList().horizontalHeader();
    const QPoint exclusion(header.sectionViewportPosition(0) + 4, header.height() / 2);
    QHelpEvent hover(QEvent::ToolTip, exclusion, header.viewport()->mapToGlobal(exclusion));
    QApplication::sendEvent(header.viewport(), &hover);
    EXPECT_EQ(QToolTip::text().toStdString(),
              "チェックしたスキルは発動しない組み合わせだけを探します");
    QToolTip::hideText();

    EXPECT_FALSE(dialog->IsEnabled(kIdEditCustom));
    EXPECT_NE(dialog->Item(kIdEditCustom)->toolTip().indexOf("固定装備有効"), -1);
    EXPECT_FALSE(dialog->Item(kIdExtraSkills)->toolTip().isEmpty());
}

TEST_F(StartupTest, MissingTableShowsOnlyTheLoadFailure) {
    std::filesystem::remove(folder.File("data/TEVREQUIP_LEG.csv"));
    dialog = std::make_unique<CSimulatorDlg>(folder.Path(), prompter);
    EXPECT_EQ(dialog->DoModal(), CSimulatorDlg::kLoadFailed);
    // The second line names the folder that was searched.
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"装備ファイルが読み込めませんでした\n" +
                                                           folder.Path() + "data/"}));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("Config.dat")));
}

TEST_F(StartupTest, EscapeAndEnterDoNothingAnywhere) {
    ASSERT_TRUE(Start());
    dialog->show();
    for (QWidget* target : std::initializer_list<QWidget*>{dialog.get(), dialog->Item(kIdSearch),
                                                           dialog->Item(kIdMinDefenceValue),
                                                           &SkillList(), dialog->Item(kIdResult)}) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            SendKey(*target, key);
        }
    }
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsEnded());
    // Enter on the default button would have complained about the empty skill list.
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StartupTest, BusyCursorOnlyWhileTheResultsAreFilled) {
    ASSERT_TRUE(Start());
    dialog->m_bFillingResults = 1;
    dialog->OnSetCursor();
    dialog->OnSetCursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    dialog->m_bFillingResults = 0;
    dialog->OnSetCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "one restore for one busy cursor";
}

TEST_F(StartupTest, UnwritableConfigIsReportedAndTheWindowStillCloses) {
    std::filesystem::create_directories(folder.File("Config.dat/blocked"));
    ASSERT_TRUE(Start());
    dialog->close();
    EXPECT_TRUE(dialog->IsEnded());
    // The fixed message, then the file and the system's cause on a second line.
    EXPECT_EQ(prompter.messages,
              (std::vector<std::string>{"コンフィグ情報の保存に失敗しました\n" +
                                        folder.File("Config.dat") + ": Is a directory"}));
}

TEST_F(StartupTest, StopSignalsCloseTheWindowAndKeepItsSettings) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        std::filesystem::remove(folder.File("Config.dat"));
        ASSERT_TRUE(Start());
        dialog->show();
        dialog->Click(res::kIdGunner);
        {
            CloseOnSignal closeOnSignal(*dialog);
            std::raise(signal);
            QElapsedTimer timer;
            timer.start();
            while (!dialog->IsEnded() && timer.elapsed() < 5000) {
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            }
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
