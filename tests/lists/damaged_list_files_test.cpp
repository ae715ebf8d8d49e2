#include <filesystem>
#include <string>

#include "list_test_support.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_messages.h"
#include "lists/list_paths.h"
#include "lists/owned_list_file.h"
#include "lists/search_lists.h"

namespace {

using namespace list_test;
using DamagedListFilesTest = ListFilesTest;
using Texts = std::vector<std::string>;
using namespace list_messages;

// Every proper prefix of a good file, a file of another format, of another version or with a
// count it cannot hold is refused by every reader with the format's message (the search-time
// readers of the lists only say they could not read it) and leaves memory and file as they were.
TEST_F(DamagedListFilesTest, EveryReaderRefusesEveryDamagedFile) {
    const std::string fixed =
        File(1042, {Entry(0, "piece0a", 2, 1, "small"), Entry(1, "", 0), Entry(2, "", 0),
                    Entry(3, "", 0), Entry(4, "", 0), Entry(0, "", 1)});
    const std::string excluded = File(1798, {Entry(0, "piece0a", 2), Entry(5, "", 1, 0, "small")});
    const std::string owned = File(1795, {Owned(0, "piece0a"), Owned(5, "small")});
    const Texts refused = {
        kNotFixedSet,     kNotFixedSet,  kNotExcludedList,    kExcludedListUnreadable,
        kNotExcludedList, kNotOwnedList, kOwnedListUnreadable};
    const Texts otherVersion = {kFixedSetVersion,        kFixedSetVersion,     kExcludedListVersion,
                                kExcludedListUnreadable, kExcludedListVersion, kOwnedListVersion,
                                kOwnedListUnreadable};
    struct Damaged {
        std::string what, fixed, excluded, owned;
        Texts messages;
    };
    std::vector<Damaged> files = {
        {"another format", excluded, fixed, excluded, refused},
        {"another version", std::string(fixed).replace(4, 1, "\x02"),
         std::string(excluded).replace(4, 1, "\x00", 1), std::string(owned).replace(4, 1, "\x02"),
         otherVersion},
        {"an impossible count", fixed.substr(0, 607), std::string(excluded).replace(8, 4, Le(-1)),
         std::string(owned).replace(8, 4, Le(0x7FFFFFFF)), refused},
    };
    for (std::size_t size = 0; size < fixed.size(); ++size) {
        files.push_back({"cut at " + std::to_string(size), fixed.substr(0, size),
                         excluded.substr(0, std::min(size, excluded.size() - 1)),
                         owned.substr(0, std::min(size, owned.size() - 1)), refused});
    }
    for (const Damaged& file : files) {
        sink.messages.clear();
        folder.Write("Fixed.dat", file.fixed);
        folder.Write("Exclude.dat", file.excluded);
        folder.Write("OwnEquip.dat", file.owned);
        FixedRows rows;
        SetFixedPiece(rows.rows[kLeg], Piece(kLeg));
        ExcludedRows excludedRows{MakeExcludedRow(large)};
        OwnedLists ownedLists;
        ownedLists.Add(medium);
        CSearchCondition condition;
        EXPECT_FALSE(LoadFixedSet(rows, database, FixedSetPath(folder.Path()), sink));
        EXPECT_FALSE(ReadFixedForSearch(condition.fixed, database, folder.Path(), sink));
        EXPECT_FALSE(
            LoadExcludedList(excludedRows, database, true, ExcludedListPath(folder.Path()), sink));
        EXPECT_FALSE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
        EXPECT_FALSE(AppendExcludedPiece(*Piece(kArm), folder.Path(), sink));
        EXPECT_FALSE(
            LoadOwnedList(ownedLists, database, false, OwnedListPath(folder.Path()), sink));
        EXPECT_FALSE(ReadOwnedForSearch(condition, database, folder.Path(), sink));

        EXPECT_EQ(rows.rows[kLeg].piece, Piece(kLeg));
        EXPECT_TRUE(condition.fixed.IsEmpty() && condition.fixed.weaponSlots == 0 &&
                    condition.excluded[kHead].empty() && condition.owned[kHead].empty());
        EXPECT_EQ(excludedRows.size(), 1u);
        EXPECT_EQ(ownedLists.TotalCount(), 1u);
        EXPECT_EQ(folder.Read("Exclude.dat"), file.excluded);
        EXPECT_EQ(sink.messages, file.messages) << file.what;
    }

    // Absent files: only the fixed set, which the search cannot do without once asked for, says so.
    sink.messages.clear();
    const TempFolder empty;
    CSearchCondition condition;
    EXPECT_FALSE(ReadFixedForSearch(condition.fixed, database, empty.Path(), sink));
    EXPECT_FALSE(ReadExcludedForSearch(condition, database, empty.Path(), sink));
    EXPECT_FALSE(ReadOwnedForSearch(condition, database, empty.Path(), sink));
    EXPECT_EQ(sink.messages, Texts{kFixedSetUnreadable});

    // Present but unreadable (here a folder by the name): the player is told, nothing is read.
    sink.messages.clear();
    for (const char* name : {"Exclude.dat", "OwnEquip.dat"}) {
        std::filesystem::create_directory(empty.Path() + name);
    }
    EXPECT_FALSE(ReadExcludedForSearch(condition, database, empty.Path(), sink));
    EXPECT_FALSE(ReadOwnedForSearch(condition, database, empty.Path(), sink));
    EXPECT_EQ(sink.messages, (Texts{kExcludedListUnreadable, kOwnedListUnreadable}));
    EXPECT_TRUE(condition.excluded[kHead].empty() && condition.owned[kHead].empty());
}

// A name that fills its whole field ends where the field ends: it names no piece whose name is
// only its beginning.
TEST_F(DamagedListFilesTest, FullNameFieldsStayWithinTheirFields) {
    folder.Write("Exclude.dat",
                 File(1798, {Entry(0, std::string(24, 'x'), 2, 3, std::string(21, 'y'))}));
    AddPiece(kHead, std::string(20, 'x'), 1);
    CSearchCondition condition;
    EXPECT_TRUE(ReadExcludedForSearch(condition, database, folder.Path(), sink));
    EXPECT_TRUE(condition.excluded[kHead].empty());
}

} // namespace
