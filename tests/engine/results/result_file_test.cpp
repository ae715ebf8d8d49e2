#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/skill_search.h"
#include "platform/byte_buffer.h"
#include "platform/safe_save.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const char kSaveFailed[] = "検索結果の保存に失敗しました";
const char kOpenFailed[] = "検索結果の読込に失敗しました";
const char kNotResultFile[] = "検索結果ファイルではありません";
const char kWrongVersion[] = "検索結果ファイルのバージョンが違います";
const char kInvalidFile[] = "検索結果ファイルが不正です";

// Independent of the engine's writer: the layout spelled out byte by byte.
void Le(Bytes& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void Name(Bytes& out, const char* name) {
    const std::size_t length = std::strlen(name);
    out.insert(out.end(), name, name + length);
    out.insert(out.end(), 21 - length, 0);
}

Bytes Header(std::uint32_t job, std::uint32_t sex, std::uint32_t weaponSlots, std::uint32_t visited,
             std::uint32_t total, std::uint32_t count) {
    Bytes out;
    for (std::uint32_t value : {546u, 1u, job, sex, weaponSlots, visited, total, count}) {
        Le(out, value);
    }
    return out;
}

void Piece(Bytes& out, int slot, const char* name, std::vector<const char*> decos = {}) {
    Le(out, static_cast<std::uint32_t>(slot));
    Name(out, name);
    Le(out, static_cast<std::uint32_t>(decos.size()));
    for (const char* deco : decos) {
        Name(out, deco);
    }
}

class ResultFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const char* const kPieceNames[kSlotCount][2] = {{"HeadA", "\x93\xAA\x96\x68"},
                                                               {"BodyA", "BodyB"},
                                                               {"ArmA", "ArmB"},
                                                               {"WaistA", "WaistB"},
                                                               {"LegA", "LegB"}};
        for (int slot = 0; slot < kSlotCount; ++slot) {
            for (const char* name : kPieceNames[slot]) {
                CEquipData piece;
                piece.kind = slot;
                piece.slots = 3;
                std::strcpy(piece.name, name);
                pieces_[slot].push_back(&engine_.database.AddArmor(slot, piece));
            }
        }
        for (const char* name : {"JewelA", "JewelB", "JewelC"}) {
            CDecoData deco;
            deco.size = 1;
            std::strcpy(deco.name, name);
            decos_.push_back(&engine_.database.AddDeco(deco));
        }
    }

    void TearDown() override { platform::InjectSaveFaultAfter(SIZE_MAX); }

    std::string PathOf(const char* file) const { return folder_.File(file); }

    // A set of the first (or second) piece of every slot.
    CEquipSet& AddResult(int variant) {
        auto set = std::make_unique<CEquipSet>();
        for (int slot = 0; slot < kSlotCount; ++slot) {
            set->pieces[slot] = pieces_[slot][variant];
        }
        engine_.results.push_back(std::move(set));
        return *engine_.results.back();
    }

    void Write(const char* file, const Bytes& bytes) const {
        folder_.Write(file, std::string(bytes.begin(), bytes.end()));
    }

    Bytes Read(const char* file) const {
        Bytes bytes;
        EXPECT_TRUE(platform::ReadWholeFile(PathOf(file), bytes));
        return bytes;
    }

    // A valid file with two sets, weapon slots 2, decorations at head, waist and weapon.
    Bytes ValidFile() const {
        Bytes file = Header(2, 1, 2, 0xFFFFFFFFu, 20, 2);
        for (std::uint32_t index : {0u, 1u}) {
            Le(file, index);
            Piece(file, 0, "HeadA", {"JewelA", "JewelB"});
            Piece(file, 1, "BodyB");
            Piece(file, 2, "ArmA");
            Piece(file, 3, "WaistA", {"JewelC"});
            Piece(file, 4, "LegB");
            Le(file, 1);
            Name(file, "JewelA");
        }
        return file;
    }

    int Load(const char* file) {
        sink_.messages.clear();
        return engine_.LoadResults(PathOf(file), job_, sex_, weaponSlots_);
    }

    TempFolder folder_;
    platform::RecordingSink sink_;
    CSkillSearch engine_{nullptr, &sink_};
    std::vector<CEquipData*> pieces_[kSlotCount];
    std::vector<CDecoData*> decos_;
    int job_ = 7;
    int sex_ = 7;
    int weaponSlots_ = 7;
};

TEST_F(ResultFileTest, WritesTheExactLayout) {
    CEquipSet& first = AddResult(0);
    first.AddDeco(0, decos_[0]);
    first.AddDeco(0, decos_[1]);
    first.AddDeco(5, decos_[2]);
    CEquipSet& second = AddResult(1);
    // (A, empty, B): only the entries before the first gap are written.
    second.decos[3][0] = decos_[0];
    second.decos[3][2] = decos_[1];
    engine_.visited = 0x1'0000'0005ull; // past 32 bits: stored as the largest 32-bit value
    engine_.totalCombos = 77;

    ASSERT_EQ(engine_.SaveResults(PathOf("a.eql"), 2, 1, 1), 1);

    Bytes expected = Header(2, 1, 1, 0xFFFFFFFFu, 77, 2);
    Le(expected, 0);
    Piece(expected, 0, "HeadA", {"JewelA", "JewelB"});
    Piece(expected, 1, "BodyA");
    Piece(expected, 2, "ArmA");
    Piece(expected, 3, "WaistA");
    Piece(expected, 4, "LegA");
    Le(expected, 1);
    Name(expected, "JewelC");
    Le(expected, 1);
    Piece(expected, 0, "\x93\xAA\x96\x68");
    Piece(expected, 1, "BodyB");
    Piece(expected, 2, "ArmB");
    Piece(expected, 3, "WaistB", {"JewelA"});
    Piece(expected, 4, "LegB");
    Le(expected, 0);
    EXPECT_EQ(Read("a.eql"), expected);
    EXPECT_TRUE(sink_.messages.empty());

    // Without weapon slots the records carry no weapon block at all.
    ASSERT_EQ(engine_.SaveResults(PathOf("b.eql"), 1, 2, 0), 1);
    EXPECT_EQ(Read("b.eql").size(), expected.size() - 2 * 4 - 21);
}

// 130 000 sets with full decorations: some 69 MB, more than the cap of the small list files, and
// a file a search with a high display limit saves.
TEST_F(ResultFileTest, ALargeFileLoads) {
    constexpr std::uint32_t kSets = 130000;
    Bytes record;
    for (int slot = 0; slot <= kSlotCount; ++slot) {
        if (slot < kSlotCount) {
            Le(record, static_cast<std::uint32_t>(slot));
            Name(record, pieces_[slot][0]->name);
        }
        Le(record, 3);
        for (const CDecoData* deco : decos_) {
            Name(record, deco->name);
        }
    }
    Bytes file = Header(1, 1, 3, 0, 0, kSets);
    file.reserve(file.size() + kSets * (4 + record.size()));
    for (std::uint32_t i = 0; i < kSets; ++i) {
        Le(file, i);
        file.insert(file.end(), record.begin(), record.end());
    }
    ASSERT_GT(file.size(), std::size_t{64} << 20);
    Write("big.eql", file);
    ASSERT_EQ(Load("big.eql"), 1) << (sink_.messages.empty() ? "" : sink_.messages[0]);
    ASSERT_EQ(engine_.results.size(), kSets);
    EXPECT_EQ(engine_.results.back()->decos[5][2], decos_[2]);
}

TEST_F(ResultFileTest, SavingNothingWritesNothingAndAFailedSaveKeepsThePreviousFile) {
    EXPECT_EQ(engine_.SaveResults(PathOf("none.eql"), 1, 1, 0), 1);
    EXPECT_FALSE(fs::exists(PathOf("none.eql")));
    AddResult(0);
    ASSERT_EQ(engine_.SaveResults(PathOf("keep.eql"), 1, 1, 0), 1);
    const Bytes before = Read("keep.eql");
    AddResult(1);

    platform::InjectSaveFaultAfter(40);
    EXPECT_EQ(engine_.SaveResults(PathOf("keep.eql"), 1, 1, 0), 0);
    platform::InjectSaveFaultAfter(SIZE_MAX);
    EXPECT_EQ(Read("keep.eql"), before);
    EXPECT_EQ(engine_.SaveResults(PathOf("missing/dir.eql"), 1, 1, 0), 0);
    EXPECT_EQ(sink_.messages, (std::vector<std::string>{kSaveFailed, kSaveFailed}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
}

// Faults in the header, or in the second set after a sound first one.
TEST_F(ResultFileTest, HeaderRejectionsKeepResultsLaterOnesEmptyThem) {
    const Bytes valid = ValidFile();
    const auto second = [&valid](const char* name) {
        const auto first = std::search(valid.begin(), valid.end(), name, name + std::strlen(name));
        return static_cast<std::size_t>(
            std::search(first + 1, valid.end(), name, name + std::strlen(name)) - valid.begin());
    };
    const struct {
        const char* what;
        std::size_t at;
        Bytes bytes;
        const char* message;
        bool keepsResults;
    } cases[] = {
        {"magic", 0, {0x23}, kNotResultFile, true},
        {"version", 4, {2}, kWrongVersion, true},
        {"weapon class 0", 8, {0}, kInvalidFile, false},
        {"four weapon slots", 16, {4}, kInvalidFile, false},
        {"negative set count", 31, {0x80}, kInvalidFile, false},
        {"body block says slot 0", second("BodyB") - 4, {0}, kInvalidFile, false},
        {"unknown piece", second("LegB"), {'Z'}, kInvalidFile, false},
        {"piece of another slot", second("LegB"), {'A', 'r', 'm', 'A'}, kInvalidFile, false},
        {"four decorations", second("HeadA") + 21, {4}, kInvalidFile, false},
        {"negative count", second("HeadA") + 21, {0xFF, 0xFF, 0xFF, 0xFF}, kInvalidFile, false},
        {"unknown decoration", second("JewelB"), {'Z'}, kInvalidFile, false},
    };
    for (const auto& c : cases) {
        Bytes file = valid;
        std::copy(c.bytes.begin(), c.bytes.end(), file.begin() + static_cast<long>(c.at));
        engine_.results.clear();
        AddResult(1);
        Write("bad.eql", file);
        EXPECT_EQ(Load("bad.eql"), 0) << c.what;
        EXPECT_EQ(sink_.messages, std::vector<std::string>{c.message}) << c.what;
        EXPECT_EQ(engine_.results.size(), c.keepsResults ? 1u : 0u) << c.what;
        EXPECT_EQ(job_, 7) << c.what;
        EXPECT_EQ(weaponSlots_, 7) << c.what;
    }

    AddResult(0);
    EXPECT_EQ(Load("no-such.eql"), 0);
    EXPECT_EQ(sink_.messages, std::vector<std::string>{kOpenFailed});
    EXPECT_EQ(engine_.results.size(), 1u);
}

TEST_F(ResultFileTest, AValidFileLoadsAndEveryTruncationIsRejectedCleanly) {
    const Bytes valid = ValidFile();
    Write("full.eql", valid);
    ASSERT_EQ(Load("full.eql"), 1);
    EXPECT_EQ(job_ * 100 + sex_ * 10 + weaponSlots_, 212);
    EXPECT_EQ(engine_.visited, 0xFFFFFFFFu);
    EXPECT_EQ(engine_.totalCombos, 20u);
    ASSERT_EQ(engine_.results.size(), 2u);
    const CEquipSet& loaded = *engine_.results[1];
    EXPECT_EQ(loaded.pieces[kBody], pieces_[kBody][1]);
    EXPECT_EQ(loaded.decos[kHead][1], decos_[1]);
    EXPECT_EQ(loaded.decos[kWaist][0], decos_[2]);
    EXPECT_EQ(loaded.decos[kWeaponPosition][0], decos_[0]);
    EXPECT_EQ(loaded.weaponSlots, 0) << "not part of the file";

    for (std::size_t length = 0; length < valid.size(); ++length) {
        engine_.results.clear();
        AddResult(0);
        Write("cut.eql", Bytes(valid.begin(), valid.begin() + static_cast<long>(length)));
        ASSERT_EQ(Load("cut.eql"), 0) << length;
        ASSERT_EQ(sink_.messages, std::vector<std::string>{kInvalidFile}) << length;
        // Cut inside magic or version: the header tests never passed.
        ASSERT_EQ(engine_.results.size(), length < 8 ? 1u : 0u) << length;
    }
}

} // namespace
