#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "cli/list_commands.h"
#include "cli/path_option.h"
#include "config/import_writers.h"
#include "config/settings_import.h"
#include "platform/message_sink.h"
#include "platform/sjis.h"

namespace {

struct ImportOptions {
    std::string settings;
    std::string excludedOut;
    std::string ownedOut;
};

using Writer = bool (*)(const CEquipDatabase&, const std::string&, const std::vector<std::string>&,
                        platform::MessageSink&);

// Reports what one kind of names gives and writes its file when asked to; false when the write
// failed. Like the window, it offers no file for a kind without names.
bool Produce(const CEquipDatabase& database, const char* what, const char* option,
             const std::vector<std::string>& names, const std::string& out, Writer write) {
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        int kind = 0;
        if (!FindEquipKind(database, name, kind)) {
            missing.push_back(name);
        }
    }
    std::printf("%s: %zu names, %zu found", what, names.size(), names.size() - missing.size());
    bool written = true;
    if (names.empty()) {
        std::printf(", nothing to write\n");
    } else if (out.empty()) {
        std::printf(", not written (no %s given)\n", option);
    } else {
        platform::StderrSink sink;
        written = write(database, out, names, sink);
        if (written) {
            std::printf(", written to %s\n", out.c_str());
        } else {
            std::printf(", not written\n");
        }
    }
    for (const std::string& name : missing) {
        std::printf("not found: %s\n", platform::SjisToShownText(name).c_str());
    }
    return written;
}

std::filesystem::path Resolved(const std::string& path) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path) : resolved;
}

// Both lists written to one file would leave only the second: the excluded list would be lost.
// Links and other spellings of one path count as the same file.
void RefuseOneFileForBoth(const ImportOptions& options) {
    if (options.excludedOut.empty() || options.ownedOut.empty()) {
        return;
    }
    std::error_code error;
    if (Resolved(options.excludedOut) == Resolved(options.ownedOut) ||
        std::filesystem::equivalent(options.excludedOut, options.ownedOut, error)) {
        throw CliExit{kExitUsage, "--eqe and --eqo name the same file: " + options.ownedOut};
    }
}

} // namespace

void AddImportCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "import", "Turn a TEVRKESTROV settings file into an excluded list (.eqe) and an owned "
                  "list (.eqo), reporting the names the tables do not know");
    auto options = std::make_shared<ImportOptions>();
    command->add_option("settings", options->settings, "The settings file (.csv)")
        ->required()
        ->check(NonEmptyPath());
    command->add_option("--eqe", options->excludedOut, "Where to write the excluded list")
        ->check(NonEmptyPath());
    command->add_option("--eqo", options->ownedOut, "Where to write the owned list")
        ->check(NonEmptyPath());
    command->callback([&context, options] {
        RefuseOneFileForBoth(*options);
        CEquipDatabase database;
        if (!context.Load(database)) {
            throw CliExit{kExitLoadFailed, ""};
        }
        CSettingsImport import;
        if (!import.ImportSettings(options->settings)) {
            throw CliExit{kExitFailed, "TEVRKESTROV 設定ファイルの読込に失敗しました"};
        }
        const bool excluded = Produce(database, "excluded", "--eqe", import.m_excludedNames,
                                      options->excludedOut, WriteImportedExcludedList);
        const bool owned = Produce(database, "owned", "--eqo", import.m_ownedNames,
                                   options->ownedOut, WriteImportedOwnedList);
        if (!excluded || !owned) {
            throw CliExit{kExitFailed, ""};
        }
    });
}
