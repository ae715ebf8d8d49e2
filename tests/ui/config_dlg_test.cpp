#include <QApplication>
#include <QLineEdit>
#include <QTimer>
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

using Messages = std::vector<std::string>;

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

// The digit limits apply to typing: a larger value from Config.dat is shown as it is.
TEST_F(ConfigDialogTest, ShowsTheDefaultsAndStoredLimitsWhole) {
    auto config = Open();
    EXPECT_EQ(config->windowTitle().toStdString(), "コンフィグ");
    EXPECT_EQ(config->GetText(kIdVersionLabel), "Kestrova Assistant Ver. 0.44");
    EXPECT_EQ(config->GetText(kIdMaxDisplay), "10000");
    EXPECT_EQ(config->GetText(kIdMaxCalc), "1000000");
    EXPECT_FALSE(config->IsChecked(kIdEarlyData));
    auto& display = *config->Control<QLineEdit>(kIdMaxDisplay);
    display.end(false);
    SendKey(display, Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(config->GetText(kIdMaxDisplay), "10000") << "a sixth digit is not typed";

    dialog->m_config.m_nMaxDisplay = 123456;
    dialog->m_config.m_nMaxCalc = 123456789;
    config = Open();
    EXPECT_EQ(config->GetText(kIdMaxDisplay), "123456");
    EXPECT_EQ(config->GetText(kIdMaxCalc), "123456789");
    config->Click(kIdConfigOk);
    EXPECT_EQ(dialog->m_config.m_nMaxCalc, 123456789) << "an untouched value stays";
}

TEST_F(ConfigDialogTest, LimitsAreCheckedAtTheirBounds) {
    const struct {
        const char* display;
        const char* calc;
        const char* message;
    } cases[] = {{"10000", "1000000", nullptr},
                 {"10001", "1000000", kLargeLimit},
                 {"10000", "1000001", kLargeLimit},
                 {"0", "500", kTooSmall},
                 {"", "500", kTooSmall},
                 {"500", "0", kTooSmall},
                 {"500", "", kTooSmall}};
    CConfigData& stored = dialog->m_config;
    for (const auto& c : cases) {
        stored = CConfigData();
        prompter.messages.clear();
        auto config = Open();
        config->SetText(kIdMaxDisplay, c.display);
        config->SetText(kIdMaxCalc, c.calc);
        config->SetCheck(kIdEarlyData, true);
        config->Click(kIdConfigOk);
        // A refusal keeps the dialog open and stores neither limit nor the option.
        const bool refused = c.message == kTooSmall;
        SCOPED_TRACE(std::string(c.display) + " / " + c.calc);
        EXPECT_EQ(config->IsEnded(), !refused);
        EXPECT_EQ(prompter.messages, c.message ? Messages{c.message} : Messages{});
        EXPECT_EQ(stored.m_nMaxDisplay, refused ? 10000 : std::atoi(c.display));
        EXPECT_EQ(stored.m_nMaxCalc, refused ? 1000000 : std::atoi(c.calc));
        EXPECT_EQ(stored.m_bEarlyData, refused ? 0 : 1);
    }
}

TEST_F(ConfigDialogTest, ChangedDefenceDataClearsResultsAndSwitchesEveryPiece) {
    ASSERT_GT(SearchAttack(), 0);
    dialog->SetCheck(kIdRefine, true);
    dialog->OnBnClickedRefine();
    ASSERT_FALSE(dialog->IsEnabled(kIdLoad));
    PressConfig([](CConfigDlg& config) {
        config.SetCheck(kIdEarlyData, true);
        config.Click(kIdConfigOk);
    });
    EXPECT_EQ(dialog->m_config.m_bEarlyData, 1);
    EXPECT_EQ(dialog->m_listResult.GetItemCount(), 0);
    EXPECT_EQ(dialog->GetText(kIdResultCount), "検索結果 0件");
    // With nothing left to refine, the refine mode and its locks are gone.
    EXPECT_FALSE(dialog->IsChecked(kIdRefine));
    for (int id :
         std::initializer_list<int>{kIdLoad, kIdMale, kIdFastSearch, kRarityButtonIds[0]}) {
        EXPECT_TRUE(dialog->IsEnabled(id)) << id;
    }
    ExpectDefences(true);

    PressConfig([](CConfigDlg& config) {
        config.SetCheck(kIdEarlyData, false);
        config.Click(kIdConfigOk);
    });
    ExpectDefences(false);
}

} // namespace
