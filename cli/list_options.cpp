#include "cli/list_options.h"

#include "cli/cli_context.h"
#include "cli/path_option.h"
#include "cli/unmatched_entries.h"
#include "lists/search_lists.h"
#include "platform/byte_buffer.h"
#include "platform/message_sink.h"

void AddListOptions(CLI::App& command, ListOptions& options) {
    command
        .add_option("--fixed", options.fixedFile,
                    "Fixed set (.eq) every set must contain; its weapon entry gives the weapon "
                    "slots")
        ->check(NonEmptyPath());
    command
        .add_option("--exclude-list", options.excludedFile,
                    "Excluded list (.eqe) of pieces and decorations not to use")
        ->check(NonEmptyPath());
    CLI::Option* owned = command
                             .add_option("--owned-list", options.ownedFile,
                                         "Owned list (.eqo) of the equipment you own")
                             ->check(NonEmptyPath());
    command.add_flag("--owned-only", options.ownedOnly, "Use only pieces of the owned list")
        ->needs(owned);
}

namespace {

// A file the user names must be there and be read in full: a search that quietly went on without
// it would list sets the user asked to leave out, or miss the pieces the user fixed. The reader
// has shown why it refused a file; one it could not open it passes over in silence.
void Require(bool read, const std::string& option, const std::string& path) {
    if (read) {
        return;
    }
    platform::Bytes bytes;
    const bool readable = platform::ReadWholeFile(path, bytes);
    throw CliExit{kExitFailed, readable ? "" : option + " " + path + ": cannot be read"};
}

} // namespace

void ApplyListOptions(const ListOptions& options, const CEquipDatabase& database,
                      CSearchCondition& condition) {
    platform::StderrSink sink;
    if (!options.fixedFile.empty()) {
        condition.fixed.Clear();
        Require(ReadFixedFileForSearch(condition.fixed, database, options.fixedFile, sink),
                "--fixed", options.fixedFile);
        condition.weaponSlots = condition.fixed.weaponSlots;
    }
    if (!options.excludedFile.empty()) {
        Require(ReadExcludedFileForSearch(condition, database, options.excludedFile, sink),
                "--exclude-list", options.excludedFile);
    }
    if (!options.ownedFile.empty()) {
        Require(ReadOwnedFileForSearch(condition, database, options.ownedFile, sink),
                "--owned-list", options.ownedFile);
    }
    condition.ownedOnly = options.ownedOnly ? 1 : 0;
    WarnUnmatchedEntries(options, database);
}
