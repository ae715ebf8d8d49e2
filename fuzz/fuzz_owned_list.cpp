// Owned-list files through the dialog reader (replacing and adding) and the search-start reader.

#include <algorithm>
#include <string>

#include "engine/condition/search_condition.h"
#include "fuzz_support.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"

namespace {

const CEquipDatabase& g_database = fuzz::BundledTables();

bool SameLists(const OwnedLists& a, const OwnedLists& b) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (a.armor[slot] != b.armor[slot]) {
            return false;
        }
    }
    return a.decos == b.decos;
}

OwnedLists EarlierLists() {
    OwnedLists owned;
    owned.Add(g_database.Armor(kHead).back());
    owned.Add(g_database.Decos().front());
    return owned;
}

template <typename Record> bool Distinct(std::vector<Record*> records) {
    std::sort(records.begin(), records.end());
    return std::adjacent_find(records.begin(), records.end()) == records.end();
}

void CheckRoundTrip(const OwnedLists& owned) {
    const std::string saved = fuzz::ScratchFolder() + "saved.eqo";
    fuzz::NullSink sink;
    fuzz::Check(SaveOwnedList(owned, saved, sink), "owned-list save failed");
    OwnedLists reread;
    fuzz::Check(LoadOwnedList(reread, g_database, false, saved, sink),
                "a saved owned list was refused");
    fuzz::Check(SameLists(owned, reread), "owned list does not read back as saved");
}

void CheckDialogReader(const std::string& path, bool add) {
    fuzz::NullSink sink;
    OwnedLists owned = EarlierLists();
    if (!LoadOwnedList(owned, g_database, add, path, sink)) {
        fuzz::Check(SameLists(owned, EarlierLists()), "a refused owned list changed the lists");
        return;
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        fuzz::Check(Distinct(owned.armor[slot]), "an owned piece listed twice");
        for (const CEquipData* piece : owned.armor[slot]) {
            fuzz::Check(piece->kind == slot, "an owned piece in another slot's list");
        }
    }
    fuzz::Check(Distinct(owned.decos), "an owned decoration listed twice");
    CheckRoundTrip(owned);
}

void CheckSearchReader(const std::string& folder) {
    fuzz::NullSink sink;
    CSearchCondition condition;
    const bool read = ReadOwnedForSearch(condition, g_database, folder, sink);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        fuzz::Check(read || condition.owned[slot].empty(), "a refused list owned pieces");
        for (const CEquipData* piece : condition.owned[slot]) {
            fuzz::Check(piece->kind == slot, "a piece owned in another slot");
        }
    }
    fuzz::Check(read || condition.ownedDecos.empty(), "a refused list owned decorations");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = fuzz::ScratchFolder();
    const std::string path = OwnedListPath(folder);
    fuzz::WriteFile(path, data, size);
    CheckDialogReader(path, false);
    CheckDialogReader(path, true);
    CheckSearchReader(folder);
    return 0;
}
