#include "cli/list_options.h"

#include "lists/search_lists.h"
#include "platform/message_sink.h"

void AddListOptions(CLI::App& command, ListOptions& options) {
    command.add_option("--fixed", options.fixedFile,
                       "Fixed set (.eq) every set must contain; its weapon entry gives the weapon "
                       "slots");
    command.add_option("--exclude-list", options.excludedFile,
                       "Excluded list (.eqe) of pieces and decorations not to use");
    CLI::Option* owned = command.add_option("--owned-list", options.ownedFile,
                                            "Owned list (.eqo) of the equipment you own");
    command.add_flag("--owned-only", options.ownedOnly, "Use only pieces of the owned list")
        ->needs(owned);
}

void ApplyListOptions(const ListOptions& options, const CEquipDatabase& database,
                      CSearchCondition& condition) {
    platform::StderrSink sink;
    if (!options.fixedFile.empty()) {
        condition.fixed.Clear();
        ReadFixedFileForSearch(condition.fixed, database, options.fixedFile, sink);
        condition.weaponSlots = condition.fixed.weaponSlots;
    }
    if (!options.excludedFile.empty()) {
        ReadExcludedFileForSearch(condition, database, options.excludedFile, sink);
    }
    if (!options.ownedFile.empty()) {
        ReadOwnedFileForSearch(condition, database, options.ownedFile, sink);
    }
    condition.ownedOnly = options.ownedOnly ? 1 : 0;
}
