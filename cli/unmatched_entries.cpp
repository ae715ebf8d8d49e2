#include "cli/unmatched_entries.h"

#include <cstdio>
#include <string>
#include <vector>

#include "lists/entry_resolution.h"
#include "lists/list_format.h"
#include "platform/byte_buffer.h"
#include "platform/sjis.h"

namespace {

void AddUnmatchedDecos(const CEquipDatabase& database, const EquipFileEntry& entry,
                       std::vector<std::string>& names) {
    for (int place = 0; place < entry.UsableDecoCount(); ++place) {
        const std::string& name = entry.decoNames[place];
        if (!name.empty() && ResolveDeco(database, name) == nullptr) {
            names.push_back(name);
        }
    }
}

std::vector<std::string> UnmatchedInFixedSet(const CEquipDatabase& database,
                                             const platform::Bytes& bytes) {
    std::vector<std::string> names;
    FixedSetImage image;
    if (ParseFixedSetFile(bytes, image) != ListFileStatus::kOk) {
        return names;
    }
    // As the search reads the file: a position without a piece name holds nothing.
    for (int position = 0; position < kFixedEntryCount; ++position) {
        const EquipFileEntry& entry = image[position];
        const bool weapon = position == kWeaponPosition;
        if (!weapon && entry.armorName.empty()) {
            continue;
        }
        if (!weapon && ResolvePiece(database, position, entry.armorName) == nullptr) {
            names.push_back(entry.armorName);
        }
        AddUnmatchedDecos(database, entry, names);
    }
    return names;
}

std::vector<std::string> UnmatchedInExcludedList(const CEquipDatabase& database,
                                                 const platform::Bytes& bytes) {
    std::vector<std::string> names;
    std::vector<EquipFileEntry> entries;
    ParseExcludedListFile(bytes, entries);
    for (const EquipFileEntry& entry : entries) {
        if (!entry.NamesNothing() && !ResolveEntry(database, entry).Found()) {
            names.push_back(entry.kind == kDecoKind ? entry.decoNames[0] : entry.armorName);
        }
    }
    return names;
}

std::vector<std::string> UnmatchedInOwnedList(const CEquipDatabase& database,
                                              const platform::Bytes& bytes) {
    std::vector<std::string> names;
    std::vector<OwnedFileEntry> entries;
    ParseOwnedListFile(bytes, entries);
    for (const OwnedFileEntry& entry : entries) {
        if (!entry.name.empty() && !ResolveEntry(database, entry).Found()) {
            names.push_back(entry.name);
        }
    }
    return names;
}

using Finder = std::vector<std::string> (*)(const CEquipDatabase&, const platform::Bytes&);

void Warn(const char* option, const std::string& path, const CEquipDatabase& database,
          Finder find) {
    platform::Bytes bytes;
    if (path.empty() || !platform::ReadWholeFile(path, bytes)) {
        return;
    }
    for (const std::string& name : find(database, bytes)) {
        std::fprintf(stderr, "%s %s: not found in the tables: %s\n", option, path.c_str(),
                     platform::SjisToShownText(name).c_str());
    }
}

} // namespace

void WarnUnmatchedEntries(const ListOptions& options, const CEquipDatabase& database) {
    Warn("--fixed", options.fixedFile, database, UnmatchedInFixedSet);
    Warn("--exclude-list", options.excludedFile, database, UnmatchedInExcludedList);
    Warn("--owned-list", options.ownedFile, database, UnmatchedInOwnedList);
}
