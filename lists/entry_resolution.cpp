#include "lists/entry_resolution.h"

#include <cstring>

namespace {

ListRecord ResolveByKind(const CEquipDatabase& database, int kind, const std::string& name) {
    ListRecord record;
    if (kind == kDecoKind) {
        record.deco = ResolveDeco(database, name);
    } else if (kind >= 0 && kind < kSlotCount) {
        record.piece = ResolvePiece(database, kind, name);
    }
    return record;
}

} // namespace

CEquipData* ResolvePiece(const CEquipDatabase& database, int slot, const std::string& name) {
    return database.FindArmor(slot, name.c_str());
}

CDecoData* ResolveDeco(const CEquipDatabase& database, const std::string& name) {
    return database.FindDeco(name.c_str());
}

ListRecord ResolveEntry(const CEquipDatabase& database, const EquipFileEntry& entry) {
    const std::string& name = entry.kind == kDecoKind ? entry.decoNames[0] : entry.armorName;
    return ResolveByKind(database, entry.kind, name);
}

ListRecord ResolveEntry(const CEquipDatabase& database, const OwnedFileEntry& entry) {
    return entry.name.empty() ? ListRecord{} : ResolveByKind(database, entry.kind, entry.name);
}

std::string RecordName(const char (&name)[kNameSize]) {
    return std::string(name, strnlen(name, kNameSize));
}
