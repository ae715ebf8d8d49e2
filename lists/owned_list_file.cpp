#include "lists/owned_list_file.h"

#include "lists/entry_resolution.h"
#include "lists/list_messages.h"
#include "platform/save_failure.h"

bool SaveOwnedList(const OwnedLists& owned, const std::string& path, platform::MessageSink& sink) {
    std::vector<OwnedFileEntry> entries;
    entries.reserve(owned.TotalCount());
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (const CEquipData* piece : owned.armor[slot]) {
            entries.push_back(OwnedFileEntry{slot, RecordName(piece->name)});
        }
    }
    for (const CDecoData* deco : owned.decos) {
        entries.push_back(OwnedFileEntry{kDecoKind, RecordName(deco->name)});
    }
    return platform::SaveOrTell(path, EncodeOwnedListFile(entries), sink,
                                list_messages::kOwnedListSaveFailed);
}

bool LoadOwnedList(OwnedLists& owned, const CEquipDatabase& database, bool add,
                   const std::string& path, platform::MessageSink& sink) {
    platform::Bytes bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        return false;
    }
    std::vector<OwnedFileEntry> entries;
    if (!list_messages::ReportStatus(ParseOwnedListFile(bytes, entries), sink,
                                     list_messages::kNotOwnedList,
                                     list_messages::kOwnedListVersion)) {
        return false;
    }
    if (!add) {
        owned.Clear();
    }
    for (const OwnedFileEntry& entry : entries) {
        const ListRecord record = ResolveEntry(database, entry);
        if (record.piece != nullptr) {
            owned.Add(record.piece);
        } else if (record.deco != nullptr) {
            owned.Add(record.deco);
        }
    }
    return true;
}
