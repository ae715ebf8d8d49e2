#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_data.h"
#include "config/import_writers.h"
#include "engine/skill_search.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/list_format.h"
#include "lists/owned_list_file.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

// Every file the program saves, made to fail at each byte of its write (a disk filling up): the
// previous file stays byte for byte, no temporary file is left beside it, and the writer gives its
// format's message once.
namespace {

namespace fs = std::filesystem;

struct Writer {
    const char* label;
    std::string file;     // what the writer saves in the folder it is given
    std::string previous; // what the file held before, in a form the writer accepts
    const char* message;
    std::function<bool(const std::string& folder)> save;
};

class SaveFaultsTest : public ::testing::Test {
protected:
    SaveFaultsTest() {
        CDecoData gem;
        std::strcpy(gem.name, "gem");
        gem.size = 1;
        CDecoData* deco = &search.database.AddDeco(gem);
        auto set = std::make_unique<CEquipSet>();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            CEquipData piece;
            piece.kind = slot;
            std::snprintf(piece.name, sizeof piece.name, "piece%d", slot);
            piece.slots = 2;
            set->pieces[slot] = &search.database.AddArmor(slot, piece);
            set->AddDeco(slot, deco);
            SetFixedPiece(rows.rows[slot], set->pieces[slot]);
            AttachDecoration(rows.rows[slot], deco);
            excluded.push_back(MakeExcludedRow(set->pieces[slot]));
            owned.Add(set->pieces[slot]);
        }
        excluded.push_back(MakeExcludedRow(deco));
        owned.Add(deco);
        set->weaponSlots = 1;
        set->AddDeco(kWeaponPosition, deco);
        resultSet = set.get();
        search.results.push_back(std::move(set));
        config.PushRecentSkill(0, 3);
        config.PushRecentSkill(1, 4);
    }

    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    std::vector<Writer> Writers() {
        const std::vector<std::string> names{"piece1", "gem", "unknown"};
        const platform::Bytes emptyList = EncodeExcludedListFile({});
        const std::string old = "the previous contents\n";
        return {
            {"Config.dat", "Config.dat", old, "コンフィグ情報の保存に失敗しました",
             [this](const std::string& folder) { return config.Save(folder, sink); }},
            {"fixed set", "set.eq", old, "固定装備の保存に失敗しました",
             [this](const std::string& folder) {
                 return SaveFixedSet(rows, folder + "set.eq", sink);
             }},
            {"result as fixed set", "set.eq", old, "固定装備の保存に失敗しました",
             [this](const std::string& folder) {
                 return SaveResultAsFixedSet(*resultSet, folder + "set.eq", sink);
             }},
            {"excluded list", "list.eqe", old, "除外装備の保存に失敗しました",
             [this](const std::string& folder) {
                 return SaveExcludedList(excluded, folder + "list.eqe", sink);
             }},
            {"appended piece", "Exclude.dat", std::string(emptyList.begin(), emptyList.end()),
             "除外装備の保存に失敗しました",
             [this](const std::string& folder) {
                 return AppendExcludedPiece(*resultSet->pieces[kArm], folder, sink);
             }},
            {"owned list", "list.eqo", old, "所有装備の保存に失敗しました",
             [this](const std::string& folder) {
                 return SaveOwnedList(owned, folder + "list.eqo", sink);
             }},
            {"results", "found.eql", old, "検索結果の保存に失敗しました",
             [this](const std::string& folder) {
                 return search.SaveResults(folder + "found.eql", 1, 2, 1) == 1;
             }},
            {"imported excluded list", "import.eqe", old, "除外装備の保存に失敗しました",
             [this, names](const std::string& folder) {
                 return WriteImportedExcludedList(search.database, folder + "import.eqe", names,
                                                  sink);
             }},
            {"imported owned list", "import.eqo", old, "所有装備の保存に失敗しました",
             [this, names](const std::string& folder) {
                 return WriteImportedOwnedList(search.database, folder + "import.eqo", names, sink);
             }},
        };
    }

    // Names of everything in the folder: a failed save must not leave its temporary file.
    static std::vector<std::string> Entries(const TempFolder& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder.Path())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    platform::RecordingSink sink;
    CSkillSearch search{nullptr, &sink};
    CEquipSet* resultSet = nullptr;
    CConfigData config;
    FixedRows rows;
    ExcludedRows excluded;
    OwnedLists owned;
};

TEST_F(SaveFaultsTest, AWriteCutShortAtAnyByteKeepsThePreviousFile) {
    for (const Writer& writer : Writers()) {
        TempFolder clean;
        ASSERT_TRUE(writer.save(clean.Path())) << writer.label;
        const std::string complete = clean.Read(writer.file);
        ASSERT_GT(complete.size(), 0u) << writer.label;

        TempFolder folder;
        folder.Write(writer.file, writer.previous);
        for (std::size_t cut = 0; cut < complete.size(); ++cut) {
            sink.messages.clear();
            platform::InjectSaveFaultAfter(cut);
            EXPECT_FALSE(writer.save(folder.Path())) << writer.label << " cut at " << cut;
            platform::InjectSaveFaultAfter(SIZE_MAX);
            ASSERT_EQ(folder.Read(writer.file), writer.previous) << writer.label << " at " << cut;
            ASSERT_EQ(Entries(folder), std::vector<std::string>{writer.file}) << writer.label;
            ASSERT_EQ(sink.messages, std::vector<std::string>{writer.message}) << writer.label;
        }
        // With the fault gone the same call replaces the file.
        ASSERT_TRUE(writer.save(folder.Path())) << writer.label;
        EXPECT_EQ(folder.Read(writer.file), complete) << writer.label;
    }
}

} // namespace
