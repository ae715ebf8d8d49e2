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

    // Presses "コンフィグ" and switches the defence data with OK.
    void UseEarlyData(bool early) {
        WorkModal<CConfigDlg>([this] { dialog->Click(kIdConfig); },
                              [early](CConfigDlg& config) {
                                  config.SetCheck(kIdEarlyData, early);
                                  config.Click(kIdConfigOk);
                              });
    }

    // The defence the hunter helm shows: 5 in the early data, 10 in the later.
    int HelmDefence() const {
        return dialog->m_search.database.Armor(kHead)[0]->EffectiveDefense();
    }
};

// A stored limit is shown whole at the next opening, even beyond the digits that can be typed.
TEST_F(ConfigDialogTest, LimitsAreCheckedAtTheirBoundsAndShownWhole) {
    const struct {
        const char* display;
        const char* calc;
        const char* message;
    } cases[] = {{"10000", "1000000", nullptr},     {"10001", "1000000", kLargeLimit},
                 {"10000", "1000001", kLargeLimit}, {"123456", "123456789", kLargeLimit},
                 {"0", "500", kTooSmall},           {"", "500", kTooSmall},
                 {"500", "0", kTooSmall},           {"500", "", kTooSmall}};
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
        config = Open();
        EXPECT_EQ(config->GetText(kIdMaxDisplay), std::to_string(stored.m_nMaxDisplay));
        EXPECT_EQ(config->GetText(kIdMaxCalc), std::to_string(stored.m_nMaxCalc));
    }
}

TEST_F(ConfigDialogTest, ChangedDefenceDataClearsResultsAndSwitchesTheTables) {
    ChooseSkills({"攻撃力UP【小】"});
    PressSearch();
    ASSERT_GT(dialog->m_listResult.GetItemCount(), 0);
    dialog->SetCheck(kIdRefine, true);
    dialog->OnBnClickedRefine();
    ASSERT_FALSE(dialog->IsEnabled(kIdLoad));
    UseEarlyData(true);
    EXPECT_EQ(dialog->m_config.m_bEarlyData, 1);
    EXPECT_EQ(dialog->m_listResult.GetItemCount(), 0);
    EXPECT_EQ(Text(kIdResultCount), "検索結果 0件");
    // With nothing left to refine, the refine mode and its locks are gone.
    EXPECT_FALSE(dialog->IsChecked(kIdRefine));
    EXPECT_EQ(Enabled(*dialog, {kIdLoad, kIdMale, kIdFastSearch, kRarityButtonIds[0]}), "++++");
    EXPECT_EQ(HelmDefence(), 5);

    UseEarlyData(false);
    EXPECT_EQ(HelmDefence(), 10);
}

} // namespace
