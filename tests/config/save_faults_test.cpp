#include <functional>
#include <string>

#include "config/config_data.h"
#include "config/import_writers.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_format.h"
#include "lists/list_test_support.h"
#include "lists/owned_list_file.h"
#include "platform/safe_save.h"

namespace {

using namespace list_test;
using SaveFaultsTest = ListFilesTest;

// Every file the program saves, made to fail at each byte of its write (a disk filling up), keeps
// the previous file and gives its format's message once; search results have such a test with the
// engine. The imported lists are checked byte for byte: armour is looked up before decorations,
// names are compared exactly, and an empty name finds a record from a table line without one.
TEST_F(SaveFaultsTest, AWriteCutShortAtAnyByteKeepsThePreviousFile) {
    AddDeco("piece3a", 1);
    AddPiece(kArm, "", 1);
    const CConfigData config;
    const std::vector<std::string> excluded{"unknown", "piece1b", "small", "Large", "piece3a"};
    const std::vector<std::string> owned{"piece0a", "nope", "", "small"};
    using At = const std::string&;
    const struct {
        std::string file; // what the writer saves in the folder it is given
        const char* message;
        std::function<bool(const std::string& folder)> save;
        std::string bytes; // when not empty, what the file must hold
    } writers[] = {
        {"Config.dat", "コンフィグ情報の保存に失敗しました",
         [&](At at) { return config.Save(at, sink); }, ""},
        {"set.eq", "固定装備の保存に失敗しました",
         [&](At at) { return SaveFixedSet(FixedRows{}, at + "set.eq", sink); }, ""},
        {"list.eqe", "除外装備の保存に失敗しました",
         [&](At at) { return SaveExcludedList({}, at + "list.eqe", sink); }, ""},
        {"Exclude.dat", "除外装備の保存に失敗しました",
         [&](At at) { return AppendExcludedPiece(*Piece(kArm), at, sink); }, ""},
        {"list.eqo", "所有装備の保存に失敗しました",
         [&](At at) { return SaveOwnedList(OwnedLists{}, at + "list.eqo", sink); }, ""},
        {"import.eqe", "除外装備の保存に失敗しました",
         [&](At at) {
             return WriteImportedExcludedList(database, at + "import.eqe", excluded, sink);
         },
         File(1798, {Entry(1, "piece1b", 0), Entry(5, "", 0, 0, "small"), Entry(3, "piece3a", 0)})},
        {"import.eqo", "所有装備の保存に失敗しました",
         [&](At at) { return WriteImportedOwnedList(database, at + "import.eqo", owned, sink); },
         File(1795, {Owned(0, "piece0a"), Owned(2, ""), Owned(5, "small"), Owned(0, "")})},
    };
    // An empty excluded list: a file every writer may replace, the append included.
    const platform::Bytes emptyList = EncodeExcludedListFile({});
    const std::string previous(emptyList.begin(), emptyList.end());
    for (const auto& writer : writers) {
        TempFolder target;
        target.Write(writer.file, previous);
        // The first cut that lets the save through lies at the end of the file.
        std::size_t cut = 0;
        for (;; ++cut) {
            sink.messages.clear();
            platform::InjectSaveFaultAfter(cut);
            const bool saved = writer.save(target.Path());
            platform::InjectSaveFaultAfter(SIZE_MAX);
            if (saved || cut == 100000) {
                break;
            }
            ASSERT_EQ(target.Read(writer.file), previous) << writer.file << " cut at " << cut;
            ASSERT_EQ(sink.messages, std::vector<std::string>{writer.message}) << writer.file;
        }
        EXPECT_EQ(target.Read(writer.file).size(), cut) << writer.file;
        if (!writer.bytes.empty()) {
            EXPECT_EQ(target.Read(writer.file), writer.bytes) << writer.file;
        }
    }
}

} // namespace
