#include <QLineEdit>
#include <filesystem>
#include <optional>

#include "platform/sjis.h"
#include "res/dialog_102.h"
#include "res/dialog_130.h"
#include "ui/config_dlg.h"
#include "ui_fixture.h"

using namespace res;

namespace {

constexpr char kExcluded[] = "除外ファイルを作成します";
constexpr char kOwned[] = "所有装備ファイルを作成します";
constexpr char kCancelled[] = "インポート処理を中止します";
constexpr char kFinished[] = "インポート処理を終了します";

constexpr char kTooSmall[] = "1以上の値を設定して下さい";
constexpr char kLargeLimit[] =
    "大きな値を設定すると レスポンスの大きな低下や メモリ不足によるクラッシュの原因となります";

using Messages = std::vector<std::string>;
using Answers = std::vector<std::optional<std::string>>;

class ConfigDialogTest : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(Start()); }

    std::unique_ptr<CConfigDlg> Open() {
        auto config =
            std::make_unique<CConfigDlg>(&dialog->m_config, &dialog->m_search.database, prompter);
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

// What OK stored is shown at the next opening, a limit whole even beyond the digits that can be
// typed.
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
        EXPECT_EQ(config->IsChecked(kIdEarlyData), !refused);
    }
    const auto config = Open(); // the last case left the defaults
    config->Control<QLineEdit>(kIdMaxDisplay)->end(false);
    SendKey(*config->Item(kIdMaxDisplay), Qt::Key_5, QStringLiteral("5"));
    EXPECT_EQ(config->GetText(kIdMaxDisplay), "10000") << "a sixth digit is not typed";
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

// The dialog opened on the started window, for the settings import.
class ConfigImportTest : public ConfigDialogTest {
protected:
    void SetUp() override {
        ConfigDialogTest::SetUp();
        config = Open();
    }

    // Imports settings.csv with the button, answering the save dialogs with `saves`.
    void Import(const Answers& saves) {
        prompter.messages.clear();
        prompter.fileQuestions.clear();
        prompter.fileAnswers.assign({folder.File("settings.csv")});
        prompter.fileAnswers.insert(prompter.fileAnswers.end(), saves.begin(), saves.end());
        config->Click(kIdImport);
    }

    std::unique_ptr<CConfigDlg> config;
};

// A cancelled save dialog ends the import, after the files already saved; a failed read or write
// is reported, and a failed write lets the import go on. The found names reach the list files.
TEST_F(ConfigImportTest, EachAnswerOfTheFileDialogsEndsOrContinuesTheImport) {
    const std::string kept = folder.File("kept.eqe");
    const std::string nowhere = folder.File("no/such/folder/list");
    const std::string missing = nowhere + ": No such file or directory";
    const char* const lists = "EE,1,ハンターヘルム\nPE,1,ハンターメイル\n";
    const struct {
        const char* name;
        const char* settings; // null: no settings file
        Answers saves;
        Messages messages;
    } cases[] = {
        {"unreadable", nullptr, {}, {"TEVRKESTROV 設定ファイルの読込に失敗しました"}},
        {"nothing to import", "MH,1,2\nee,1,ハンターヘルム\n", {}, {kFinished}},
        {"first save cancelled", lists, {std::nullopt}, {kExcluded, kCancelled}},
        {"second save cancelled", lists, {kept, {}}, {kExcluded, kOwned, kCancelled}},
        {"unwritable",
         lists,
         {nowhere, nowhere},
         {kExcluded, "除外装備の保存に失敗しました\n" + missing, kOwned,
          "所有装備の保存に失敗しました\n" + missing, kFinished}},
        {"found names",
         "EE,1,ハンターヘルム\nEE,1,名無しの兜\nEE,2,耐毒珠【１】\nPE,3,ハンターメイル\n"
         "PE,1,名無しの鎧\nPD,1,2,耐毒珠【１】\nPE,2,ハンターアーム\n",
         {folder.File("out.eqe"), folder.File("out.eqo")},
         {kExcluded, kOwned, kFinished}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.settings != nullptr) {
            folder.Write("settings.csv", platform::Utf8ToSjis(c.settings));
        }
        Import(c.saves);
        EXPECT_EQ(prompter.messages, c.messages);
        EXPECT_EQ(prompter.fileQuestions.size(), 1 + c.saves.size());
    }
    EXPECT_TRUE(std::filesystem::exists(kept));
    // The writers' layout is checked with the importer; here two excluded entries and four owned
    // ones reach them, the name not found leaving an empty owned entry.
    EXPECT_EQ(folder.Read("out.eqe").size(), 12u + 2 * 100);
    EXPECT_EQ(folder.Read("out.eqo").size(), 12u + 4 * 28);
    const ui::FileDialogRequest& open = prompter.fileQuestions[0].request;
    const ui::FileDialogRequest& eqe = prompter.fileQuestions[1].request;
    const ui::FileDialogRequest& eqo = prompter.fileQuestions[2].request;
    EXPECT_TRUE(!prompter.fileQuestions[0].save && open.createPrompt && open.hideReadOnly);
    EXPECT_EQ(open.defaultExt + eqe.defaultExt + eqo.defaultExt, "csveqeeqo");
    EXPECT_EQ(eqe.initialName, "無題");
    EXPECT_TRUE(eqe.overwritePrompt && eqo.overwritePrompt);

    prompter.fileAnswers.clear();
    prompter.messages.clear();
    config->Click(kIdImport); // the open dialog cancelled
    EXPECT_TRUE(prompter.messages.empty());
}

} // namespace
