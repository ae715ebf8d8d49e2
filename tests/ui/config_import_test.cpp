#include <filesystem>

#include "platform/sjis.h"
#include "res/dialog_130.h"
#include "ui/config_dlg.h"
#include "ui_fixture.h"

using namespace res;

namespace {

constexpr char kExcludedAnnounced[] = "除外ファイルを作成します";
constexpr char kOwnedAnnounced[] = "所有装備ファイルを作成します";
constexpr char kCancelled[] = "インポート処理を中止します";
constexpr char kFinished[] = "インポート処理を終了します";

using Messages = std::vector<std::string>;

class ConfigImportTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        config =
            std::make_unique<CConfigDlg>(&dialog->m_config, &dialog->m_search.database, prompter);
        config->InitDialog();
    }

    // Writes the settings file (UTF-8 text stored as Shift-JIS) and imports it with the button,
    // answering the save dialogs with `saves`.
    void Import(const char* settings, std::vector<std::optional<std::string>> saves) {
        folder.Write("settings.csv", platform::Utf8ToSjis(settings));
        prompter.fileAnswers.assign({folder.File("settings.csv")});
        prompter.fileAnswers.insert(prompter.fileAnswers.end(), saves.begin(), saves.end());
        config->Click(kIdImport);
    }

    std::unique_ptr<CConfigDlg> config;
};

TEST_F(ConfigImportTest, OnlyIgnoredLinesEndWithoutSaveDialog) {
    Import("MH,1,2\nME,1,ハンターヘルム\nMD,1,2,耐毒珠【１】\nM,1\nP,1\n"
           "ee,1,ハンターヘルム\nEEX,1,ハンターヘルム\npe,1,ハンターメイル\nPDX,1,2,耐毒珠【１】\n",
           {});
    EXPECT_EQ(prompter.messages, Messages{kFinished});
    ASSERT_EQ(prompter.fileQuestions.size(), 1u);
    const ui::FileDialogRequest& open = prompter.fileQuestions[0].request;
    EXPECT_FALSE(prompter.fileQuestions[0].save);
    EXPECT_EQ(open.filter, "TEVRKESTROV 設定ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||");
    EXPECT_EQ(open.defaultExt, "csv");
    EXPECT_TRUE(open.createPrompt && open.hideReadOnly);
}

TEST_F(ConfigImportTest, FoundNamesBecomeListFiles) {
    Import("EE,1,ハンターヘルム\nEE,1,名無しの兜\nEE,2,耐毒珠【１】\n"
           "PE,3,ハンターメイル\nPE,1,名無しの鎧\nPD,1,2,耐毒珠【１】\nPE,2,ハンターアーム\n",
           {folder.File("out.eqe"), folder.File("out.eqo")});
    EXPECT_EQ(prompter.messages, (Messages{kExcludedAnnounced, kOwnedAnnounced, kFinished}));
    ASSERT_EQ(prompter.fileQuestions.size(), 3u);
    const ui::FileDialogRequest& eqe = prompter.fileQuestions[1].request;
    const ui::FileDialogRequest& eqo = prompter.fileQuestions[2].request;
    EXPECT_EQ(eqe.filter,
              "TEVRA Kestrova除外装備ファイル (*.eqe)|*.eqe|すべてのファイル (*.*)|*.*||");
    EXPECT_EQ(eqo.filter,
              "TEVRA Kestrova所持装備ファイル (*.eqo)|*.eqo|すべてのファイル (*.*)|*.*||");
    EXPECT_EQ(eqe.defaultExt + eqo.defaultExt, "eqeeqo");
    EXPECT_EQ(eqe.initialName, "無題");
    EXPECT_TRUE(eqe.overwritePrompt && eqo.overwritePrompt);

    // The writers' layout is checked with the importer; here the found names reach them: two
    // excluded entries, and four owned ones, the name not found leaving an empty entry.
    EXPECT_EQ(folder.Read("out.eqe").size(), 12u + 2 * 100);
    EXPECT_EQ(folder.Read("out.eqo").size(), 12u + 4 * 28);
}

TEST_F(ConfigImportTest, CancelledSaveDialogEndsTheImport) {
    const char* settings = "EE,1,ハンターヘルム\nPE,1,ハンターメイル\n";
    Import(settings, {std::nullopt});
    EXPECT_EQ(prompter.messages, (Messages{kExcludedAnnounced, kCancelled}));
    EXPECT_EQ(prompter.fileQuestions.size(), 2u);

    prompter.messages.clear();
    Import(settings, {folder.File("kept.eqe"), std::nullopt});
    EXPECT_EQ(prompter.messages, (Messages{kExcludedAnnounced, kOwnedAnnounced, kCancelled}));
    EXPECT_TRUE(std::filesystem::exists(folder.File("kept.eqe")));
}

TEST_F(ConfigImportTest, FailuresAreReportedAndTheImportGoesOn) {
    prompter.fileAnswers.assign({folder.File("missing.csv")});
    config->Click(kIdImport);
    EXPECT_EQ(prompter.messages, Messages{"TEVRKESTROV 設定ファイルの読込に失敗しました"});

    prompter.messages.clear();
    config->Click(kIdImport); // the open dialog cancelled
    EXPECT_TRUE(prompter.messages.empty());

    const std::string nowhere = folder.File("no/such/folder/list");
    Import("EE,1,ハンターヘルム\nPE,1,ハンターメイル\n", {nowhere, nowhere});
    EXPECT_EQ(prompter.messages,
              (Messages{kExcludedAnnounced, "除外装備の保存に失敗しました", kOwnedAnnounced,
                        "所有装備の保存に失敗しました", kFinished}));
}

} // namespace
