#pragma once

#include <string>

#include "engine/tables/equip_database.h"
#include "lists/list_format.h"

// The record a list entry names: an armour piece for list kinds 0..4, a decoration for kind 5.
struct ListRecord {
    CEquipData* piece = nullptr;
    CDecoData* deco = nullptr;

    bool Found() const { return piece != nullptr || deco != nullptr; }
};

// First record of the table of `slot` (or of the decorations) whose name equals `name` byte for
// byte; null when none does. An empty name is compared like any other: a table line without a
// name gives a record with an empty one. Readers that pass over empty names check that first.
CEquipData* ResolvePiece(const CEquipDatabase& database, int slot, const std::string& name);
CDecoData* ResolveDeco(const CEquipDatabase& database, const std::string& name);

// An excluded-list entry names a piece by its armour name and a decoration by its first
// decoration name, whichever of the two its kind picks, even when that one is empty; an
// owned-list entry names either by its one name, and one without a name names nothing. Entries of
// another list kind resolve to nothing.
ListRecord ResolveEntry(const CEquipDatabase& database, const EquipFileEntry& entry);
ListRecord ResolveEntry(const CEquipDatabase& database, const OwnedFileEntry& entry);

// The name of a record as a file stores it: its bytes up to the terminator, never past the
// record's name array.
std::string RecordName(const char (&name)[kNameSize]);
