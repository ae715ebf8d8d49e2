// Excluded-list files through the dialog reader (replacing and adding), the search-start reader
// and the append of one piece, which reads the file and writes it back.

#include <string>

#include "engine/condition/search_condition.h"
#include "fuzz_support.h"
#include "lists/excluded_list_file.h"
#include "lists/list_format.h"
#include "lists/list_paths.h"
#include "lists/search_lists.h"

namespace {

const CEquipDatabase& g_database = fuzz::BundledTables();

bool SameRows(const ExcludedRows& a, const ExcludedRows& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].kindText != b[i].kindText || a[i].piece != b[i].piece || a[i].deco != b[i].deco) {
            return false;
        }
    }
    return true;
}

ExcludedRows EarlierRows() {
    return {MakeExcludedRow(g_database.Armor(kArm).front()),
            MakeExcludedRow(g_database.Decos().back())};
}

void CheckRoundTrip(const ExcludedRows& rows) {
    const std::string saved = fuzz::ScratchFolder() + "saved.eqe";
    fuzz::NullSink sink;
    fuzz::Check(SaveExcludedList(rows, saved, sink), "excluded-list save failed");
    ExcludedRows reread;
    fuzz::Check(LoadExcludedList(reread, g_database, false, saved, sink),
                "a saved excluded list was refused");
    fuzz::Check(SameRows(rows, reread), "excluded list does not read back as saved");
}

void CheckDialogReader(const std::string& path, bool add) {
    fuzz::NullSink sink;
    ExcludedRows rows = EarlierRows();
    if (!LoadExcludedList(rows, g_database, add, path, sink)) {
        fuzz::Check(SameRows(rows, EarlierRows()), "a refused excluded list changed the rows");
        return;
    }
    for (std::size_t i = 0; add && i < rows.size(); ++i) {
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            fuzz::Check(rows[i].piece != rows[j].piece || rows[i].deco != rows[j].deco,
                        "adding an excluded list repeated a row");
        }
    }
    CheckRoundTrip(rows);
}

void CheckSearchReader(const std::string& folder) {
    fuzz::NullSink sink;
    CSearchCondition condition;
    const bool read = ReadExcludedForSearch(condition, g_database, folder, sink);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        fuzz::Check(read || condition.excluded[slot].empty(), "a refused list excluded pieces");
        for (const CEquipData* piece : condition.excluded[slot]) {
            fuzz::Check(piece->kind == slot, "a piece excluded in another slot");
        }
    }
    fuzz::Check(read || condition.excludedDecos.empty(), "a refused list excluded decorations");
}

// The append either leaves the file byte for byte as it was or writes a list that holds the
// piece's name.
void CheckAppend(const std::string& folder, const std::string& before) {
    fuzz::NullSink sink;
    const CEquipData& piece = *g_database.Armor(kWaist).back();
    const bool written = AppendExcludedPiece(piece, folder, sink);
    const std::string after = fuzz::ReadFile(ExcludedListPath(folder));
    if (!written) {
        fuzz::Check(after == before, "a refused append changed Exclude.dat");
        return;
    }
    std::vector<EquipFileEntry> entries;
    const platform::Bytes bytes(after.begin(), after.end());
    fuzz::Check(ParseExcludedListFile(bytes, entries) == ListFileStatus::kOk && !entries.empty() &&
                    entries.back().armorName == piece.name,
                "an append wrote a list without the piece");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string folder = fuzz::ScratchFolder();
    const std::string path = ExcludedListPath(folder);
    fuzz::WriteFile(path, data, size);
    CheckDialogReader(path, false);
    CheckDialogReader(path, true);
    CheckSearchReader(folder);
    CheckAppend(folder, std::string(data, data + size));
    return 0;
}
