// Fixed-set files through the dialog reader and the search-start reader. A refused file leaves
// the rows and the set untouched; an accepted one never overfills a row, and saving the rows
// reads back to the same rows.

#include <string>

#include "engine/sets/equip_set.h"
#include "fuzz_support.h"
#include "lists/fixed_set_file.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"

namespace {

const CEquipDatabase& g_database = fuzz::BundledTables();

bool SameRows(const FixedRows& a, const FixedRows& b) {
    if (a.weaponSlots != b.weaponSlots) {
        return false;
    }
    for (int row = 0; row < kPositionCount; ++row) {
        const FixedRow& x = a.rows[row];
        const FixedRow& y = b.rows[row];
        if (x.piece != y.piece || x.freeSlots != y.freeSlots) {
            return false;
        }
        for (int place = 0; place < 3; ++place) {
            if (x.decos[place] != y.decos[place]) {
                return false;
            }
        }
    }
    return true;
}

void CheckRowsFit(const FixedRows& rows) {
    fuzz::Check(rows.weaponSlots >= 0 && rows.weaponSlots <= 3, "weapon slots out of range");
    for (int row = 0; row < kPositionCount; ++row) {
        int used = 0;
        for (const CDecoData* deco : rows.rows[row].decos) {
            used += deco != nullptr ? deco->size : 0;
        }
        fuzz::Check(rows.rows[row].freeSlots >= 0 &&
                        used + rows.rows[row].freeSlots == rows.RowSlots(row),
                    "fixed row holds more decorations than slots");
    }
}

// Rows as a dialog might hold them before the file is read.
FixedRows EarlierRows() {
    FixedRows rows;
    SetFixedPiece(rows.rows[kLeg], g_database.Armor(kLeg).front());
    AttachDecoration(rows.rows[kLeg], g_database.Decos().front());
    return rows;
}

void CheckRoundTrip(const FixedRows& rows) {
    const std::string saved = fuzz::ScratchFolder() + "saved.eq";
    fuzz::NullSink sink;
    fuzz::Check(SaveFixedSet(rows, saved, sink), "fixed-set save failed");
    FixedRows reread;
    fuzz::Check(LoadFixedSet(reread, g_database, saved, sink), "a saved fixed set was refused");
    fuzz::Check(SameRows(rows, reread), "fixed set does not read back as saved");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = fuzz::ScratchFolder();
    fuzz::WriteFile(FixedSetPath(folder), data, size);
    fuzz::NullSink sink;

    FixedRows rows = EarlierRows();
    if (LoadFixedSet(rows, g_database, FixedSetPath(folder), sink)) {
        CheckRowsFit(rows);
        CheckRoundTrip(rows);
    } else {
        fuzz::Check(SameRows(rows, EarlierRows()), "a refused fixed set changed the rows");
    }

    CEquipSet set;
    if (!ReadFixedForSearch(set, g_database, folder, sink)) {
        fuzz::Check(set.IsEmpty() && set.weaponSlots == 0, "a refused fixed set filled the set");
    }
    fuzz::Check(set.weaponSlots >= 0 && set.weaponSlots <= 3, "weapon slots out of range");
    return 0;
}
