// The foreign settings file: read line by line into names, then both import writers turn the
// names into list files that their own readers accept.

#include <string>
#include <vector>

#include "config/import_writers.h"
#include "config/settings_import.h"
#include "fuzz_support.h"
#include "lists/list_format.h"

namespace {

const CEquipDatabase& g_database = fuzz::BundledTables();

platform::Bytes FileBytes(const std::string& path) {
    const std::string text = fuzz::ReadFile(path);
    return platform::Bytes(text.begin(), text.end());
}

std::size_t FoundCount(const std::vector<std::string>& names) {
    std::size_t found = 0;
    for (const std::string& name : names) {
        int kind = 0;
        found += FindEquipKind(g_database, name, kind) ? 1 : 0;
    }
    return found;
}

void CheckExcludedWriter(const std::vector<std::string>& names) {
    const std::string path = fuzz::ScratchFolder() + "imported.eqe";
    fuzz::NullSink sink;
    fuzz::Check(WriteImportedExcludedList(g_database, path, names, sink),
                "imported excluded list not written");
    std::vector<EquipFileEntry> entries;
    fuzz::Check(ParseExcludedListFile(FileBytes(path), entries) == ListFileStatus::kOk &&
                    entries.size() == FoundCount(names),
                "imported excluded list unreadable or with the wrong count");
}

void CheckOwnedWriter(const std::vector<std::string>& names) {
    const std::string path = fuzz::ScratchFolder() + "imported.eqo";
    fuzz::NullSink sink;
    fuzz::Check(WriteImportedOwnedList(g_database, path, names, sink),
                "imported owned list not written");
    std::vector<OwnedFileEntry> entries;
    fuzz::Check(ParseOwnedListFile(FileBytes(path), entries) == ListFileStatus::kOk &&
                    entries.size() == names.size(),
                "imported owned list unreadable or with the wrong count");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchFolder() + "settings.csv";
    fuzz::WriteFile(path, data, size);
    CSettingsImport import;
    fuzz::Check(import.ImportSettings(path), "an existing settings file was not read");
    for (const auto* names : {&import.m_excludedNames, &import.m_ownedNames}) {
        for (const std::string& name : *names) {
            fuzz::Check(name.size() <= 31, "an imported name longer than its field");
        }
    }
    CheckExcludedWriter(import.m_excludedNames);
    CheckOwnedWriter(import.m_ownedNames);
    return 0;
}
