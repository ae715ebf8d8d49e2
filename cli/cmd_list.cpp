#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/list_commands.h"
#include "cli/path_option.h"
#include "lists/entry_resolution.h"
#include "lists/list_format.h"
#include "lists/list_messages.h"
#include "platform/byte_buffer.h"
#include "platform/sjis.h"

namespace {

const char* const kKindLabels[6] = {"頭", "胴", "腕", "腰", "脚", "装"};
const char kWeaponLabel[] = "武";

std::string KindLabel(int kind) {
    return kind >= 0 && kind <= kDecoKind ? kKindLabels[kind] : "kind " + std::to_string(kind);
}

// A name as the user reads it, marked when the tables do not know it.
std::string Shown(const std::string& name, bool known) {
    std::string shown = platform::SjisToShownText(name);
    return known || name.empty() ? shown : shown + " (not found)";
}

void PrintDecos(const CEquipDatabase& database, const EquipFileEntry& entry, int count) {
    for (int place = 0; place < count; ++place) {
        const std::string& name = entry.decoNames[place];
        std::printf("\t%s", Shown(name, ResolveDeco(database, name) != nullptr).c_str());
    }
    std::printf("\n");
}

// Positions as the fixed set has them, slot counts and the decorations the search would use.
void PrintFixedSet(const CEquipDatabase& database, const FixedSetImage& image) {
    std::printf("fixed set (format %d)\n", kFixedSetFormat);
    for (int position = 0; position < kFixedEntryCount; ++position) {
        const EquipFileEntry& entry = image[position];
        if (position == kWeaponPosition) {
            std::printf("%s\t\t%d", kWeaponLabel, ClampWeaponSlots(entry.slotNumber));
        } else {
            const bool known = ResolvePiece(database, position, entry.armorName) != nullptr;
            std::printf("%s\t%s\t%d", kKindLabels[position], Shown(entry.armorName, known).c_str(),
                        entry.slotNumber);
        }
        PrintDecos(database, entry, entry.UsableDecoCount());
    }
}

void PrintExcludedList(const CEquipDatabase& database, const std::vector<EquipFileEntry>& list) {
    std::printf("excluded list (format %d), %zu entries\n", kExcludedListFormat, list.size());
    for (const EquipFileEntry& entry : list) {
        if (entry.NamesNothing()) {
            std::printf("(empty)\n");
            continue;
        }
        const std::string& name = entry.kind == kDecoKind ? entry.decoNames[0] : entry.armorName;
        const bool known = ResolveEntry(database, entry).Found();
        std::printf("%s\t%s\t%d\n", KindLabel(entry.kind).c_str(), Shown(name, known).c_str(),
                    entry.slotNumber);
    }
}

void PrintOwnedList(const CEquipDatabase& database, const std::vector<OwnedFileEntry>& list) {
    std::printf("owned list (format %d), %zu entries\n", kOwnedListFormat, list.size());
    for (const OwnedFileEntry& entry : list) {
        if (entry.name.empty()) {
            std::printf("(empty)\n");
            continue;
        }
        const bool known = ResolveEntry(database, entry).Found();
        std::printf("%s\t%s\n", KindLabel(entry.kind).c_str(), Shown(entry.name, known).c_str());
    }
}

// Refuses a damaged file of a known format with that format's own messages.
void Require(ListFileStatus status, const char* notThisFormat, const char* wrongVersion) {
    if (status == ListFileStatus::kOk) {
        return;
    }
    throw CliExit{kExitFailed,
                  status == ListFileStatus::kWrongVersion ? wrongVersion : notThisFormat};
}

void ListFile(const CEquipDatabase& database, const std::string& path) {
    platform::Bytes bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        throw CliExit{kExitFailed, path + ": cannot be read"};
    }
    std::int32_t format = 0;
    platform::ByteReader(bytes).Int32(format);
    if (format == kFixedSetFormat) {
        FixedSetImage image;
        Require(ParseFixedSetFile(bytes, image), list_messages::kNotFixedSet,
                list_messages::kFixedSetVersion);
        PrintFixedSet(database, image);
    } else if (format == kExcludedListFormat) {
        std::vector<EquipFileEntry> entries;
        Require(ParseExcludedListFile(bytes, entries), list_messages::kNotExcludedList,
                list_messages::kExcludedListVersion);
        PrintExcludedList(database, entries);
    } else if (format == kOwnedListFormat) {
        std::vector<OwnedFileEntry> entries;
        Require(ParseOwnedListFile(bytes, entries), list_messages::kNotOwnedList,
                list_messages::kOwnedListVersion);
        PrintOwnedList(database, entries);
    } else {
        throw CliExit{kExitFailed, path + ": not a fixed-set, excluded-list or owned-list file"};
    }
}

} // namespace

void AddListCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "list", "Print the entries of a fixed-set (.eq), excluded-list (.eqe) or owned-list "
                "(.eqo) file, marking names the tables do not know");
    auto path = std::make_shared<std::string>();
    command->add_option("file", *path, "The list file")->required()->check(NonEmptyPath());
    command->callback([&context, path] {
        CEquipDatabase database;
        if (!context.Load(database)) {
            throw CliExit{kExitLoadFailed, ""};
        }
        ListFile(database, *path);
    });
}
