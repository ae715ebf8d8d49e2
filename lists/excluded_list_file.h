#pragma once

#include <string>

#include "engine/tables/equip_database.h"
#include "lists/excluded_rows.h"
#include "platform/message_sink.h"

// Excluded-list files (Exclude.dat of the program folder and the user's .eqe files).

// Writes one entry per row: an armour entry for a row whose kind text is an armour label, a
// decoration entry otherwise, an all-zero entry for a row without a record. False, with the
// save-failure message, when the file cannot be written; the previous file then stays as it was.
bool SaveExcludedList(const ExcludedRows& rows, const std::string& path,
                      platform::MessageSink& sink);

// Replaces the rows with the entries of the file, or with `add` appends them after the current
// rows, leaving out records already listed. Entries that name nothing, have another list kind or
// match no record are passed over. A file that cannot be opened gives false silently; a foreign,
// cut-short or other-version file gives false with its message. Either way the rows stay as they
// were.
bool LoadExcludedList(ExcludedRows& rows, const CEquipDatabase& database, bool add,
                      const std::string& path, platform::MessageSink& sink);

// Adds an entry for the piece to Exclude.dat of `folder` unless an entry of any kind already
// carries its name. An absent file counts as empty; a file that exists but is foreign, cut short,
// of another version or unreadable is reported and left alone. True when the file was written.
bool AppendExcludedPiece(const CEquipData& piece, const std::string& folder,
                         platform::MessageSink& sink);
