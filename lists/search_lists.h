#pragma once

#include <string>

#include "engine/condition/search_condition.h"
#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// The readers a search start uses on the list files of the program folder (`folder` ends in
// '/'), and the same rules for a list file named directly. They only append to what they are
// given; the caller empties it first. None of their messages stops the search.

// Fixed.dat into the fixed set: the pieces whose names resolve, and the decorations each entry
// counts (at most three, whether or not its piece was found), added without a check of free
// slots. The weapon slot count is forced into 0..3. When Fixed.dat cannot be opened or is
// refused the set stays as it was and the message says why. True when the file was used.
bool ReadFixedForSearch(CEquipSet& fixed, const CEquipDatabase& database, const std::string& folder,
                        platform::MessageSink& sink);
bool ReadFixedFileForSearch(CEquipSet& fixed, const CEquipDatabase& database,
                            const std::string& path, platform::MessageSink& sink);

// Exclude.dat into the condition's excluded arrays and excluded decorations. An absent file
// excludes nothing, silently; one that cannot be read or used excludes nothing and says so. Entries
// are appended as often as they appear.
bool ReadExcludedForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                           const std::string& folder, platform::MessageSink& sink);
bool ReadExcludedFileForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                               const std::string& path, platform::MessageSink& sink);

// OwnEquip.dat into the condition's owned arrays and owned decorations. An absent file owns
// nothing, silently; one that cannot be read or used owns nothing and says so. Entries are appended
// as often as they appear.
bool ReadOwnedForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                        const std::string& folder, platform::MessageSink& sink);
bool ReadOwnedFileForSearch(CSearchCondition& condition, const CEquipDatabase& database,
                            const std::string& path, platform::MessageSink& sink);
