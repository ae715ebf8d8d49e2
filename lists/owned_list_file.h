#pragma once

#include <string>

#include "engine/tables/equip_database.h"
#include "lists/owned_lists.h"
#include "platform/message_sink.h"

// Owned-list files (OwnEquip.dat of the program folder and the user's .eqo files).

// Writes the head, body, arm, waist and leg pieces, then the decorations, each array in its
// order. False, with the save-failure message, when the file cannot be written; the previous file
// then stays as it was.
bool SaveOwnedList(const OwnedLists& owned, const std::string& path, platform::MessageSink& sink);

// Replaces the owned lists with the entries of the file, or with `add` appends them; a record
// already held is never added twice. Entries with an empty name, another list kind or a name that
// matches nothing are passed over. A file that cannot be opened gives false silently; a foreign,
// cut-short or other-version file gives false with its message. Either way the lists stay as
// they were.
bool LoadOwnedList(OwnedLists& owned, const CEquipDatabase& database, bool add,
                   const std::string& path, platform::MessageSink& sink);
