#include <optional>
#include <vector>

#include "config/import_writers.h"
#include "ui/config_dlg.h"
#include "ui/framework/prompter_sink.h"

namespace {

constexpr char kSettingsFilter[] =
    "TEVRKESTROV 設定ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||";
constexpr char kSettingsUnreadable[] = "TEVRKESTROV 設定ファイルの読込に失敗しました";
constexpr char kImportCancelled[] = "インポート処理を中止します";
constexpr char kImportFinished[] = "インポート処理を終了します";

using ListWriter = bool (*)(const CEquipDatabase&, const std::string&,
                            const std::vector<std::string>&, platform::MessageSink&);

// One of the two list files an import produces.
struct ImportedList {
    const char* announcement;
    const char* defaultExt;
    const char* filter;
    ListWriter write;
};

const ImportedList kExcludedList = {
    "除外ファイルを作成します", "eqe",
    "TEVRA Kestrova除外装備ファイル (*.eqe)|*.eqe|すべてのファイル (*.*)|*.*||",
    &WriteImportedExcludedList};

const ImportedList kOwnedList = {
    "所有装備ファイルを作成します", "eqo",
    "TEVRA Kestrova所持装備ファイル (*.eqo)|*.eqo|すべてのファイル (*.*)|*.*||",
    &WriteImportedOwnedList};

// Announces the file, asks where it goes and writes it there. False when the user cancelled: the
// import ends then. A write failure has its own message and lets the import go on.
bool SaveImportedList(const ImportedList& list, const std::vector<std::string>& names,
                      const CEquipDatabase& database, ui::Prompter& prompter) {
    prompter.MessageBox(list.announcement);
    ui::FileDialogRequest request;
    request.filter = list.filter;
    request.defaultExt = list.defaultExt;
    request.initialName = ui::kUntitledName;
    request.overwritePrompt = true;
    const std::optional<std::string> path = prompter.SaveFile(request);
    if (!path) {
        prompter.MessageBox(kImportCancelled);
        return false;
    }
    ui::PrompterSink sink(prompter);
    list.write(database, *path, names, sink);
    return true;
}

} // namespace

void CConfigDlg::OnBnClickedImport() {
    ui::FileDialogRequest request;
    request.filter = kSettingsFilter;
    request.defaultExt = "csv";
    request.createPrompt = true;
    request.hideReadOnly = true;
    const std::optional<std::string> path = GetPrompter().OpenFile(request);
    if (path && !ImportSettings(*path)) {
        GetPrompter().MessageBox(kSettingsUnreadable);
    }
}

bool CConfigDlg::ImportSettings(const std::string& path) {
    if (!m_import.ImportSettings(path)) {
        return false;
    }
    ui::Prompter& prompter = GetPrompter();
    const std::vector<std::string>& excluded = m_import.m_excludedNames;
    const std::vector<std::string>& owned = m_import.m_ownedNames;
    if (!excluded.empty() && !SaveImportedList(kExcludedList, excluded, *m_pDatabase, prompter)) {
        return true;
    }
    if (!owned.empty() && !SaveImportedList(kOwnedList, owned, *m_pDatabase, prompter)) {
        return true;
    }
    prompter.MessageBox(kImportFinished);
    return true;
}
