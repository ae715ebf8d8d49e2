#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QValidator>
#include <functional>

#include "res/dialog_102.h"
#include "res/dialog_130.h"
#include "ui/config_dlg.h"
#include "ui_fixture.h"

using namespace res;

namespace {

constexpr char kTooSmall[] = "1以上の値を設定して下さい";
constexpr char kLargeLimit[] =
    "大きな値を設定すると レスポンスの大きな低下や メモリ不足によるクラッシュの原因となります";

class ConfigDialogTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    std::unique_ptr<CConfigDlg> Open() {
        auto config = std::make_unique<CConfigDlg>(&dialog->m_config, &dialog->m_search.database,
                                                   prompter, dialog.get());
        config->InitDialog();
        return config;
    }

    // Presses "コンフィグ" and lets `action` work the modal dialog; the dialog is cancelled
    // afterwards if the action left it open.
    void PressConfig(std::function<void(CConfigDlg&)> action) {
        QTimer::singleShot(0, [&] {
            auto* config = qobject_cast<CConfigDlg*>(QApplication::activeModalWidget());
            if (!config) {
                ADD_FAILURE() << "the configuration dialog is not open";
                return;
            }
            action(*config);
            if (!config->IsEnded()) {
                config->EndDialog(ui::kIdCancel);
            }
        });
        dialog->Click(kIdConfig);
    }

    int SearchAttack() {
        SelectCategory(0); // every skill
        DoubleClickSkill(kAttackSmall);
        dialog->OnBnClickedSearch();
        QApplication::processEvents();
        return dialog->m_listResult.GetItemCount();
    }

    // Every piece of every table uses the defence of the chosen data.
    void ExpectDefences(bool before) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            for (const CEquipData* piece : dialog->m_search.database.Armor(slot)) {
                EXPECT_EQ(piece->EffectiveDefense(),
                          before ? piece->defenseBefore : piece->defenseAfter);
            }
        }
    }
};

TEST_F(ConfigDialogTest, WithoutConfigFileShowsTheDefaults) {
    auto config = Open();
    EXPECT_EQ(config->windowTitle().toStdString(), "コンフィグ");
    EXPECT_EQ(config->GetText(kIdVersionLabel), "Kestrova Assistant Ver. 0.44");
    EXPECT_EQ(config->GetText(kIdMaxDisplay), "10000");
    EXPECT_EQ(config->GetText(kIdMaxCalc), "1000000");
    EXPECT_FALSE(config->IsChecked(kIdEarlyData));
    EXPECT_EQ(config->Control<QLineEdit>(kIdMaxDisplay)->maxLength(), 5);
    EXPECT_EQ(config->Control<QLineEdit>(kIdMaxCalc)->maxLength(), 7);
    QString typed = "12a";
    int position = 0;
    EXPECT_EQ(config->Control<QLineEdit>(kIdMaxCalc)->validator()->validate(typed, position),
              QValidator::Invalid);
}

TEST_F(ConfigDialogTest, LimitsAboveTheBoundsAreAcceptedWithAWarning) {
    const struct {
        const char* display;
        const char* calc;
        bool warned;
    } cases[] = {{"10000", "1000000", false},
                 {"10001", "1000000", true},
                 {"10000", "1000001", true},
                 {"1", "1", false}};
    for (const auto& c : cases) {
        prompter.messages.clear();
        auto config = Open();
        config->SetText(kIdMaxDisplay, c.display);
        config->SetText(kIdMaxCalc, c.calc);
        config->Click(kIdConfigOk);
        EXPECT_EQ(config->EndCode(), ui::kIdOk) << c.display << " " << c.calc;
        EXPECT_EQ(dialog->m_config.m_nMaxDisplay, std::atoi(c.display));
        EXPECT_EQ(dialog->m_config.m_nMaxCalc, std::atoi(c.calc));
        EXPECT_EQ(prompter.messages,
                  c.warned ? std::vector<std::string>{kLargeLimit} : std::vector<std::string>{})
            << c.display << " " << c.calc;
    }
}

TEST_F(ConfigDialogTest, ZeroOrEmptyLimitIsRefusedAndNothingIsStored) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "500"}, {"", "500"}, {"500", "0"}, {"500", ""}};
    for (const auto& [display, calc] : cases) {
        prompter.messages.clear();
        auto config = Open();
        config->SetText(kIdMaxDisplay, display);
        config->SetText(kIdMaxCalc, calc);
        config->SetCheck(kIdEarlyData, true);
        config->Click(kIdConfigOk);
        EXPECT_FALSE(config->IsEnded());
        EXPECT_EQ(prompter.messages, std::vector<std::string>{kTooSmall});
        config->Click(kIdConfigCancel);
        EXPECT_EQ(dialog->m_config.m_nMaxDisplay, 10000) << display << " " << calc;
        EXPECT_EQ(dialog->m_config.m_nMaxCalc, 1000000) << display << " " << calc;
        EXPECT_EQ(dialog->m_config.m_bEarlyData, 0);
    }
}

TEST_F(ConfigDialogTest, ChangedDefenceDataClearsResultsAndSwitchesEveryPiece) {
    ASSERT_GT(SearchAttack(), 0);
    PressConfig([](CConfigDlg& config) {
        config.SetCheck(kIdEarlyData, true);
        config.Click(kIdConfigOk);
    });
    EXPECT_EQ(dialog->m_config.m_bEarlyData, 1);
    EXPECT_EQ(dialog->m_listResult.GetItemCount(), 0);
    EXPECT_EQ(dialog->m_listSetEquip.GetItemCount(), 0);
    EXPECT_EQ(dialog->m_listSetSkills.GetItemCount(), 0);
    EXPECT_EQ(dialog->GetText(kIdResultCount), "検索結果 0件");
    for (int id : {kIdSaveFixed, kIdClip, kIdRefine, kIdSaveAll}) {
        EXPECT_FALSE(dialog->IsEnabled(id)) << id;
    }
    ExpectDefences(true);

    // A later search sums the defences of the data now chosen.
    dialog->OnBnClickedClearSkills();
    ASSERT_GT(SearchAttack(), 0);
    for (const auto& set : dialog->m_search.results) {
        int sum = 0;
        for (const CEquipData* piece : set->pieces) {
            sum += piece ? piece->defenseBefore : 0;
        }
        EXPECT_EQ(set->TotalDefense(), sum);
    }

    PressConfig([](CConfigDlg& config) {
        config.SetCheck(kIdEarlyData, false);
        config.Click(kIdConfigOk);
    });
    ExpectDefences(false);
}

TEST_F(ConfigDialogTest, UnchangedDefenceDataKeepsTheResults) {
    const int rows = SearchAttack();
    ASSERT_GT(rows, 0);
    PressConfig([](CConfigDlg& config) { config.Click(kIdConfigOk); });
    // A ticked box that is cancelled changes nothing either.
    PressConfig([](CConfigDlg& config) {
        config.SetCheck(kIdEarlyData, true);
        config.Click(kIdConfigCancel);
    });
    EXPECT_EQ(dialog->m_config.m_bEarlyData, 0);
    EXPECT_EQ(dialog->m_listResult.GetItemCount(), rows);
    EXPECT_TRUE(dialog->IsEnabled(kIdSaveAll));
    ExpectDefences(false);
}

} // namespace
