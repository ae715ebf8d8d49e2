#include "lists/excluded_list_file.h"

#include <filesystem>
#include <system_error>

#include "lists/entry_resolution.h"
#include "lists/list_messages.h"
#include "lists/list_paths.h"
#include "platform/save_failure.h"

namespace {

EquipFileEntry PieceEntry(const CEquipData& piece) {
    EquipFileEntry entry;
    entry.kind = piece.kind;
    entry.armorName = RecordName(piece.name);
    entry.slotNumber = piece.slots;
    return entry;
}

EquipFileEntry DecoEntry(const CDecoData& deco) {
    EquipFileEntry entry;
    entry.kind = kDecoKind;
    entry.decoNames[0] = RecordName(deco.name);
    entry.slotNumber = deco.size;
    return entry;
}

EquipFileEntry RowEntry(const ExcludedRow& row) {
    if (IsArmorLabel(row.kindText)) {
        return row.piece != nullptr ? PieceEntry(*row.piece) : EquipFileEntry{};
    }
    return row.deco != nullptr ? DecoEntry(*row.deco) : EquipFileEntry{};
}

bool WriteFile(const platform::Bytes& bytes, const std::string& path, platform::MessageSink& sink) {
    return platform::SaveOrTell(path, bytes, sink, list_messages::kExcludedListSaveFailed);
}

bool ReportExcludedStatus(ListFileStatus status, platform::MessageSink& sink) {
    return list_messages::ReportStatus(status, sink, list_messages::kNotExcludedList,
                                       list_messages::kExcludedListVersion);
}

// Exclude.dat before an append, as bytes and as entries; an absent file is an empty list. Only a
// file that does not exist counts as empty: one that exists but cannot be read would otherwise be
// overwritten and lost.
bool ReadFileForAppend(const std::string& path, platform::Bytes& bytes,
                       std::vector<EquipFileEntry>& entries, platform::MessageSink& sink) {
    if (platform::ReadWholeFile(path, bytes)) {
        return ReportExcludedStatus(ParseExcludedListFile(bytes, entries), sink);
    }
    std::error_code error;
    if (std::filesystem::exists(path, error) || error) {
        sink.Show(list_messages::kExcludedListUnreadable);
        return false;
    }
    bytes = EncodeExcludedListFile({});
    return true;
}

} // namespace

bool SaveExcludedList(const ExcludedRows& rows, const std::string& path,
                      platform::MessageSink& sink) {
    std::vector<EquipFileEntry> entries;
    entries.reserve(rows.size());
    for (const ExcludedRow& row : rows) {
        entries.push_back(RowEntry(row));
    }
    return WriteFile(EncodeExcludedListFile(entries), path, sink);
}

bool LoadExcludedList(ExcludedRows& rows, const CEquipDatabase& database, bool add,
                      const std::string& path, platform::MessageSink& sink) {
    platform::Bytes bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        return false;
    }
    std::vector<EquipFileEntry> entries;
    if (!ReportExcludedStatus(ParseExcludedListFile(bytes, entries), sink)) {
        return false;
    }
    if (!add) {
        rows.clear();
    }
    for (const EquipFileEntry& entry : entries) {
        if (entry.NamesNothing()) {
            continue;
        }
        const ListRecord record = ResolveEntry(database, entry);
        if (!record.Found() || (add && HoldsRecord(rows, record.piece, record.deco))) {
            continue;
        }
        rows.push_back(record.piece != nullptr ? MakeExcludedRow(record.piece)
                                               : MakeExcludedRow(record.deco));
    }
    return true;
}

bool AppendExcludedPiece(const CEquipData& piece, const std::string& folder,
                         platform::MessageSink& sink) {
    const std::string path = ExcludedListPath(folder);
    platform::Bytes bytes;
    std::vector<EquipFileEntry> entries;
    if (!ReadFileForAppend(path, bytes, entries, sink)) {
        return false;
    }
    const std::string name = RecordName(piece.name);
    for (const EquipFileEntry& entry : entries) {
        if (entry.armorName == name) {
            return false;
        }
    }
    return WriteFile(AppendToExcludedListFile(bytes, entries.size(), PieceEntry(piece)), path,
                     sink);
}
