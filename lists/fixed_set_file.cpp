#include "lists/fixed_set_file.h"

#include "lists/entry_resolution.h"
#include "lists/list_messages.h"
#include "platform/save_failure.h"

namespace {

// Each filled place puts its name into the field of the same number; the count says how many.
void FillDecoNames(EquipFileEntry& entry, CDecoData* const (&decos)[3]) {
    for (int place = 0; place < kEntryDecoPlaces; ++place) {
        if (decos[place] != nullptr) {
            entry.decoNames[place] = RecordName(decos[place]->name);
            ++entry.decoCount;
        }
    }
}

void FillPiece(EquipFileEntry& entry, const CEquipData& piece) {
    entry.kind = piece.kind;
    entry.armorName = RecordName(piece.name);
    entry.slotNumber = piece.slots;
}

FixedSetImage ImageOfRows(const FixedRows& rows) {
    FixedSetImage image;
    for (int position = 0; position < kSlotCount; ++position) {
        EquipFileEntry& entry = image[position];
        entry.kind = position;
        if (rows.rows[position].piece != nullptr) {
            FillPiece(entry, *rows.rows[position].piece);
            FillDecoNames(entry, rows.rows[position].decos);
        }
    }
    image[kWeaponPosition].slotNumber = rows.weaponSlots;
    FillDecoNames(image[kWeaponPosition], rows.rows[kWeaponPosition].decos);
    return image;
}

FixedSetImage ImageOfSet(const CEquipSet& set) {
    FixedSetImage image;
    for (int position = 0; position < kSlotCount; ++position) {
        EquipFileEntry& entry = image[position];
        if (set.pieces[position] != nullptr) {
            FillPiece(entry, *set.pieces[position]);
        }
        entry.kind = position;
        FillDecoNames(entry, set.decos[position]);
    }
    image[kWeaponPosition].slotNumber = set.weaponSlots;
    FillDecoNames(image[kWeaponPosition], set.decos[kWeaponPosition]);
    return image;
}

bool WriteImage(const FixedSetImage& image, const std::string& path, platform::MessageSink& sink) {
    return platform::SaveOrTell(path, EncodeFixedSetFile(image), sink,
                                list_messages::kFixedSetSaveFailed);
}

// The dialog looks at all three name fields, whatever the count says.
void AttachEntryDecos(FixedRow& row, const EquipFileEntry& entry, const CEquipDatabase& database) {
    for (const std::string& name : entry.decoNames) {
        if (name.empty()) {
            continue;
        }
        if (CDecoData* deco = ResolveDeco(database, name)) {
            AttachDecoration(row, deco);
        }
    }
}

void LoadArmorRow(FixedRow& row, int position, const EquipFileEntry& entry,
                  const CEquipDatabase& database) {
    if (entry.armorName.empty()) {
        ClearFixedRow(row);
        return;
    }
    if (CEquipData* piece = ResolvePiece(database, position, entry.armorName)) {
        SetFixedPiece(row, piece);
    }
    AttachEntryDecos(row, entry, database);
}

} // namespace

bool SaveFixedSet(const FixedRows& rows, const std::string& path, platform::MessageSink& sink) {
    return WriteImage(ImageOfRows(rows), path, sink);
}

bool SaveResultAsFixedSet(const CEquipSet& set, const std::string& path,
                          platform::MessageSink& sink) {
    return WriteImage(ImageOfSet(set), path, sink);
}

bool LoadFixedSet(FixedRows& rows, const CEquipDatabase& database, const std::string& path,
                  platform::MessageSink& sink) {
    FixedSetImage image;
    if (!ReadFixedSetImage(path, image, sink, nullptr)) {
        return false;
    }
    for (int position = 0; position < kSlotCount; ++position) {
        LoadArmorRow(rows.rows[position], position, image[position], database);
    }
    rows.weaponSlots = ClampWeaponSlots(image[kWeaponPosition].slotNumber);
    ResetFixedRow(rows.rows[kWeaponPosition], rows.weaponSlots);
    AttachEntryDecos(rows.rows[kWeaponPosition], image[kWeaponPosition], database);
    return true;
}

bool ReadFixedSetImage(const std::string& path, FixedSetImage& image, platform::MessageSink& sink,
                       const char* unreadable) {
    platform::Bytes bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        if (unreadable != nullptr) {
            sink.Show(unreadable);
        }
        return false;
    }
    return list_messages::ReportStatus(ParseFixedSetFile(bytes, image), sink,
                                       list_messages::kNotFixedSet,
                                       list_messages::kFixedSetVersion);
}
