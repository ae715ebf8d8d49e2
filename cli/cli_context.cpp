#include "cli/cli_context.h"

#include <cstdio>

#include "platform/program_folder.h"

bool CliContext::Load(CEquipDatabase& database) const {
    std::string folder = dataFolder.empty() ? platform::ProgramFolder() + "data/" : dataFolder;
    if (folder.back() != '/') {
        folder += '/';
    }
    if (database.LoadTablesFrom(folder, 0) != 1) {
        std::fprintf(stderr, "装備ファイルが読み込めませんでした\n");
        return false;
    }
    return true;
}
