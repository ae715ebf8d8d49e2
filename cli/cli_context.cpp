#include "cli/cli_context.h"

#include <cstdio>

platform::ProgramLayout CliContext::Layout() const {
    return platform::CurrentLayout(CEquipDatabase::TableFiles());
}

std::string CliContext::TablesFolder() const {
    std::string folder = dataFolder.empty() ? Layout().dataFolder : dataFolder;
    if (folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

bool CliContext::Load(CEquipDatabase& database) const {
    if (database.LoadTablesFrom(TablesFolder(), 0) != 1) {
        std::fprintf(stderr, "装備ファイルが読み込めませんでした\n");
        return false;
    }
    return true;
}
