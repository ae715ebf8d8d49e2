#pragma once

#include "cli/list_options.h"
#include "engine/tables/equip_database.h"

// Warns on stderr about every entry of the list files named on the command line that names
// nothing in the tables, as `list` marks it "(not found)". The search goes on without those
// entries, as it does in the window; the warning only keeps a mistyped or outdated name from
// passing unseen. The files have been read and accepted already.
void WarnUnmatchedEntries(const ListOptions& options, const CEquipDatabase& database);
