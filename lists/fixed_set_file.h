#pragma once

#include <string>

#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"
#include "lists/fixed_rows.h"
#include "lists/list_format.h"
#include "platform/message_sink.h"

// Fixed-set files (Fixed.dat of the program folder and the user's .eq files), always 608 bytes.

// Writes the fixed rows; false, with the save-failure message, when the file cannot be written.
// A failed save leaves the previous file as it was.
bool SaveFixedSet(const FixedRows& rows, const std::string& path, platform::MessageSink& sink);

// Reads a fixed-set file into the rows the way the dialog shows it: each armour row is reset to
// the piece its entry names, a name that matches nothing keeps the row as it was, and the named
// decorations are attached as far as the row's free slots allow. The weapon row takes the
// entry's slot count, forced into 0..3. A file that cannot be opened gives false silently; a
// foreign, cut-short or other-version file gives false with its message. Either way the rows
// stay untouched.
bool LoadFixedSet(FixedRows& rows, const CEquipDatabase& database, const std::string& path,
                  platform::MessageSink& sink);

// Writes the same bytes as SaveFixedSet, taken from a result set.
bool SaveResultAsFixedSet(const CEquipSet& set, const std::string& path,
                          platform::MessageSink& sink);

// Reads and parses a fixed-set file, for the dialog and the search start alike. A foreign,
// cut-short or other-version file gives false with its message; one that cannot be opened gives
// false with `unreadable`, or silently when that is null.
bool ReadFixedSetImage(const std::string& path, FixedSetImage& image, platform::MessageSink& sink,
                       const char* unreadable);
