#include "lists/search_lists.h"

#include "lists/entry_resolution.h"
#include "lists/fixed_set_file.h"
#include "lists/list_format.h"
#include "lists/list_messages.h"
#include "lists/list_paths.h"

namespace {

void AddCountedDecos(CEquipSet& set, int position, const EquipFileEntry& entry,
                     const CEquipDatabase& database) {
    for (int place = 0; place < entry.UsableDecoCount(); ++place) {
        const std::string& name = entry.decoNames[place];
        if (name.empty()) {
            continue;
        }
        if (CDecoData* deco = ResolveDeco(database, name)) {
            set.AddDeco(position, deco);
        }
    }
}

// At search start a foreign, cut-short or other-version file is one and the same failure, and so
// is a file that is there but cannot be read: the search goes on without it, and the player is
// told so. Only an absent file is no failure: an empty list is never saved.
template <typename Entry, typename Parse>
bool ReadListFile(const std::string& path, Parse parse, const char* failure,
                  std::vector<Entry>& entries, platform::MessageSink& sink) {
    platform::Bytes bytes;
    const platform::ReadStatus read = platform::ReadWholeFileStatus(path, bytes);
    if (read == platform::ReadStatus::kAbsent) {
        return false;
    }
    if (read == platform::ReadStatus::kUnreadable || parse(bytes, entries) != ListFileStatus::kOk) {
        sink.Show(failure);
        return false;
    }
    return true;
}

// The entry's own kind picks the array: the piece was found in that kind's table.
template <typename Entry>
void AppendRecord(const Entry& entry, const ListRecord& record,
                  std::vector<CEquipData*> (&pieces)[kSlotCount], std::vector<CDecoData*>& decos) {
    if (record.piece != nullptr) {
        pieces[entry.kind].push_back(record.piece);
    } else if (record.deco != nullptr) {
        decos.push_back(record.deco);
    }
}

} // namespace

bool ReadFixedForSearch(CEquipSet& fixed, const CEquipDatabase& database, const std::string& folder,
                        platform::MessageSink& sink) {
    return ReadFixedFileForSearch(fixed, database, FixedSetPath(folder), sink);
}

bool ReadFixedFileForSearch(CEquipSet& fixed, const CEquipDatabase& database,
                            const std::string& path, platform::MessageSink& sink) {
    FixedSetImage image;
    if (!ReadFixedSetImage(path, image, sink, list_messages::kFixedSetUnreadable)) {
        return false;
    }
    for (int position = 0; position < kSlotCount; ++position) {
        const EquipFileEntry& entry = image[position];
        if (entry.armorName.empty()) {
            continue;
        }
        if (CEquipData* piece = ResolvePiece(database, position, entry.armorName)) {
            fixed.pieces[position] = piece;
        }
        AddCountedDecos(fixed, position, entry, database);
    }
    fixed.weaponSlots = ClampWeaponSlots(image[kWeaponPosition].slotNumber);
    AddCountedDecos(fixed, kWeaponPosition, image[kWeaponPosition], database);
    return true;
}

bool ReadExcludedForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                           const std::string& folder, platform::MessageSink& sink) {
    return ReadExcludedFileForSearch(condition, database, ExcludedListPath(folder), sink);
}

bool ReadExcludedFileForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                               const std::string& path, platform::MessageSink& sink) {
    std::vector<EquipFileEntry> entries;
    if (!ReadListFile(path, ParseExcludedListFile, list_messages::kExcludedListUnreadable, entries,
                      sink)) {
        return false;
    }
    for (const EquipFileEntry& entry : entries) {
        if (!entry.NamesNothing()) {
            AppendRecord(entry, ResolveEntry(database, entry), condition.excluded,
                         condition.excludedDecos);
        }
    }
    return true;
}

bool ReadOwnedForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                        const std::string& folder, platform::MessageSink& sink) {
    return ReadOwnedFileForSearch(condition, database, OwnedListPath(folder), sink);
}

bool ReadOwnedFileForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                            const std::string& path, platform::MessageSink& sink) {
    std::vector<OwnedFileEntry> entries;
    if (!ReadListFile(path, ParseOwnedListFile, list_messages::kOwnedListUnreadable, entries,
                      sink)) {
        return false;
    }
    for (const OwnedFileEntry& entry : entries) {
        AppendRecord(entry, ResolveEntry(database, entry), condition.owned, condition.ownedDecos);
    }
    return true;
}
