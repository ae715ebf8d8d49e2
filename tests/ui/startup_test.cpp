#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

#include "config/config_data.h"
#include "platform/message_sink.h"
#include "res/dialog_102.h"
#include "ui_fixture.h"

using namespace res;

namespace {

class StartupTest : public MainWindowTest {};

TEST_F(StartupTest, WithoutConfigTheWindowStartsWithTheDefaults) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    EXPECT_EQ(d.windowTitle().toStdString(), "Kestrova Ver. 0.44");
    EXPECT_TRUE(d.IsChecked(kIdMale));
    EXPECT_FALSE(d.IsChecked(kIdFemale));
    EXPECT_TRUE(d.IsChecked(kIdBlade));
    EXPECT_TRUE(d.IsChecked(kIdWeaponSlot0));
    for (int id : {kIdMinDefence, kIdUseExclude, kIdUseFixed, kIdOwnedOnly, kIdNoBodyDoubling,
                   kIdFastSearch, kIdExactFitting}) {
        EXPECT_FALSE(d.IsChecked(id)) << id;
    }
    for (int id : kRarityButtonIds) {
        EXPECT_FALSE(d.IsChecked(id)) << id;
    }
    EXPECT_EQ(ChosenList().GetItemCount(), 0);
    EXPECT_EQ(d.GetText(kIdProgressText), "0%");
    EXPECT_EQ(d.GetText(kIdResultCount), "検索結果 0件");
    EXPECT_EQ(d.GetText(kIdSearch), "検索");
    // Nothing was searched yet, so the recent list is empty: all skills are offered instead.
    EXPECT_EQ(d.Control<QComboBox>(kIdCategory)->currentText().toStdString(), "すべて");
    EXPECT_EQ(SkillList().GetItemCount(), kTinySkillCount - 1);
    EXPECT_FALSE(d.IsEnabled(kIdMinDefenceValue));
    EXPECT_FALSE(d.IsEnabled(kIdEditCustom));
    for (int id : {kIdClip, kIdSaveFixed, kIdRefine, kIdSaveAll}) {
        EXPECT_FALSE(d.IsEnabled(id)) << id;
    }
    EXPECT_EQ(d.Control<QLineEdit>(kIdMinDefenceValue)->maxLength(), 3);

    // Closing writes Config.dat even when nothing was ever searched.
    d.close();
    CConfigData saved;
    ASSERT_TRUE(saved.Load(folder.Path()));
    EXPECT_EQ(saved.m_nSex, 1);
    EXPECT_EQ(folder.Read("Config.dat").size(), 164U);
}

TEST_F(StartupTest, ConfigRestoresControlsAndLeavesOutSkillsTheTablesLack) {
    CConfigData config;
    config.m_nSex = 2;
    config.m_nWeaponType = 2;
    config.m_nWeaponSlots = 2;
    config.m_bMinDefence = 1;
    config.m_nMinDefence = 120;
    config.m_bUseFixed = 1;
    config.m_bRarityOff[3] = 1;
    config.m_bFastSearch = 1;
    config.m_bExactFitting = 1;
    config.PushRecentSkill(1, kSniper);
    config.m_nSkillCount = 5;
    const std::int32_t skills[5] = {kCriticalMinus, 999, kPoison, -4, kPoison};
    std::copy(std::begin(skills), std::end(skills), config.m_nSkills);
    platform::RecordingSink sink;
    ASSERT_TRUE(config.Save(folder.Path(), sink));

    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    EXPECT_TRUE(d.IsChecked(kIdFemale));
    EXPECT_TRUE(d.IsChecked(kIdGunner));
    EXPECT_TRUE(d.IsChecked(kIdWeaponSlot2));
    EXPECT_TRUE(d.IsChecked(kIdMinDefence));
    EXPECT_TRUE(d.IsEnabled(kIdMinDefenceValue));
    EXPECT_EQ(d.GetText(kIdMinDefenceValue), "120");
    EXPECT_TRUE(d.IsChecked(kRarityButtonIds[3]));
    EXPECT_FALSE(d.IsChecked(kRarityButtonIds[2]));
    EXPECT_TRUE(d.IsChecked(kIdFastSearch));
    EXPECT_TRUE(d.IsChecked(kIdExactFitting));
    EXPECT_EQ(d.Control<QComboBox>(kIdCategory)->currentText().toStdString(), "最近使ったスキル");
    EXPECT_EQ(SkillListIndices(), (std::vector<int>{kSniper}));
    // The fixed set gives the weapon slots, so the radios are off; its editor is reachable.
    EXPECT_FALSE(d.IsEnabled(kIdWeaponSlot0));
    EXPECT_TRUE(d.IsEnabled(kIdEditCustom));

    EXPECT_EQ(ChosenSkills(), (std::vector<int>{kCriticalMinus, kPoison}));
    EXPECT_TRUE(ChosenList().GetCheck(0)) << "a minus skill comes back ticked";
    EXPECT_FALSE(ChosenList().GetCheck(1));
}

TEST_F(StartupTest, MissingTableShowsOnlyTheLoadFailure) {
    folder.RemoveTable("TEVREQUIP_LEG.csv");
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
    const std::vector<QWidget*> targets = {dialog.get(), dialog->Item(kIdSearch),
                                           dialog->Item(kIdMinDefenceValue), &SkillList(),
                                           dialog->Item(kIdResult)};
    for (QWidget* target : targets) {
        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(target, &press);
        }
    }
    QApplication::processEvents();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->IsEnded());
    // Enter on the default button would have complained about the empty skill list.
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(StartupTest, CloseBoxWritesTheControlStatesToConfig) {
    ASSERT_TRUE(Start());
    CSimulatorDlg& d = *dialog;
    d.show();
    d.Click(kIdFemale);
    d.Click(kIdGunner);
    d.Click(kIdWeaponSlot3);
    d.Click(kIdUseExclude);
    d.Click(kIdOwnedOnly);
    d.Click(kIdNoBodyDoubling);
    d.Click(kRarityButtonIds[10]);
    d.Click(kIdExactFitting);
    d.Click(kIdMinDefence);
    d.SetText(kIdMinDefenceValue, "0");
    SelectCategory(0);
    DoubleClickSkill(kSniper);
    DoubleClickSkill(kHealthMinus);
    d.close();

    EXPECT_TRUE(d.IsEnded());
    EXPECT_EQ(d.EndCode(), ui::kIdCancel);
    EXPECT_EQ(d.m_search.abortRequested, 1);
    CConfigData saved;
    ASSERT_TRUE(saved.Load(folder.Path()));
    EXPECT_EQ(saved.m_nSex, 2);
    EXPECT_EQ(saved.m_nWeaponType, 2);
    EXPECT_EQ(saved.m_nWeaponSlots, 3);
    EXPECT_EQ(saved.m_bUseExclude, 1);
    EXPECT_EQ(saved.m_bUseFixed, 0);
    EXPECT_EQ(saved.m_bOwnedOnly, 1);
    EXPECT_EQ(saved.m_bNoBodyDoubling, 1);
    EXPECT_EQ(saved.m_bRarityOff[10], 1);
    EXPECT_EQ(saved.m_bExactFitting, 1);
    // A ticked minimum of 0 is no minimum.
    EXPECT_EQ(saved.m_bMinDefence, 0);
    EXPECT_EQ(saved.m_nMinDefence, 0);
    EXPECT_EQ(saved.m_nSkillCount, 2);
    EXPECT_EQ(saved.m_nSkills[0], kSniper);
    EXPECT_EQ(saved.m_nSkills[1], kHealthMinus);
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
    EXPECT_EQ(prompter.messages, (std::vector<std::string>{"コンフィグ情報の保存に失敗しました"}));
}

} // namespace
