#pragma once

#include <string>
#include <vector>

#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// Finds a name in the loaded tables: head, body, arm, waist and leg pieces, then decorations; the
// first record whose name equals it byte for byte gives its list kind (0..4, or 5 for a
// decoration). An empty name is no exception: it finds a record made from a table line without
// a name, and the entry written for it is one that every list reader passes over.
bool FindEquipKind(const CEquipDatabase& database, const std::string& name, int& kind);

// Writes an excluded-list file with one entry per name found, in order; names not found are left
// out. False, with the save-failure message, when the file cannot be written.
bool WriteImportedExcludedList(const CEquipDatabase& database, const std::string& path,
                               const std::vector<std::string>& names, platform::MessageSink& sink);

// Writes an owned-list file whose count is the number of names given: the names found fill the
// entries from the front, the rest stay all zero. False, with the save-failure message, when the
// file cannot be written.
bool WriteImportedOwnedList(const CEquipDatabase& database, const std::string& path,
                            const std::vector<std::string>& names, platform::MessageSink& sink);
