#include <filesystem>

#include "platform/sjis.h"
#include "res/dialog_130.h"
#include "ui/config_dlg.h"
#include "ui_fixture.h"

using namespace res;

namespace {

constexpr char kExcluded[] = "除外ファイルを作成します";
constexpr char kOwned[] = "所有装備ファイルを作成します";
constexpr char kCancelled[] = "インポート処理を中止します";
constexpr char kFinished[] = "インポート処理を終了します";

using Messages = std::vector<std::string>;
using Answers = std::vector<std::optional<std::string>>;

class ConfigImportTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        config =
            std::make_unique<CConfigDlg>(&dialog->m_config, &dialog->m_search.database, prompter);
        config->InitDialog();
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
    const char* const lists = "EE,1,ハンターヘルム\nPE,1,ハンターメイル\n";
    const struct {
        const char* name;
        const char* settings; // null: no settings file
        Answers saves;
        Messages messages;
    } cases[] = {
        {"unreadable", nullptr, {}, {"TEVRKESTROV 設定ファイルの読込に失敗しました"}},
        {"nothing to import", "MH,1,2\nee,1,ハンターヘルム\n", {}, {kFinished}},
        {"second save cancelled", lists, {kept, {}}, {kExcluded, kOwned, kCancelled}},
        {"unwritable",
         lists,
         {nowhere, nowhere},
         {kExcluded, "除外装備の保存に失敗しました", kOwned, "所有装備の保存に失敗しました",
          kFinished}},
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
