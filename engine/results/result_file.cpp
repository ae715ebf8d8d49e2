// The .eql result file: a header, then one variable-length record per result set. Pieces and
// decorations are stored by name and resolved against the loaded tables on reading.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/search/skill_search.h"
#include "platform/byte_buffer.h"
#include "platform/regular_file.h"
#include "platform/safe_save.h"
#include "platform/save_failure.h"

namespace {

constexpr std::int32_t kResultMagic = 546;
constexpr std::int32_t kResultVersion = 1;
constexpr int kDecoEntries = 3;
constexpr int kMaxWeaponSlots = 3;
constexpr std::size_t kNameBlock = kDecoEntries * kNameSize;
// The longest record: its index, five full piece blocks and a full weapon block.
constexpr std::size_t kMaxRecordBytes =
    4 + kSlotCount * (4 + kNameSize + 4 + kNameBlock) + 4 + kNameBlock;

constexpr char kSaveFailed[] = "検索結果の保存に失敗しました";
constexpr char kOpenFailed[] = "検索結果の読込に失敗しました";
constexpr char kNotResultFile[] = "検索結果ファイルではありません";
constexpr char kWrongVersion[] = "検索結果ファイルのバージョンが違います";
constexpr char kInvalidFile[] = "検索結果ファイルが不正です";

using ResultList = std::vector<std::unique_ptr<CEquipSet>>;

struct ResultHeader {
    std::int32_t job = 0;
    std::int32_t sex = 0;
    std::int32_t weaponSlots = 0;
    std::uint32_t visited = 0;
    std::uint32_t totalCombos = 0;
};

// The header has room for 32 bits only, while the engine counts in 64 bits because a big search
// passes 2^32 combinations. Wrapping would store a small, wrong count; the largest storable value
// at least says "this many or more".
std::uint32_t Saturate(std::uint64_t value) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

// Entries are counted from the front up to the first empty one; positions the engine fills are
// always packed, so this writes every decoration of a result.
void WriteDecos(platform::ByteWriter& out, CDecoData* const (&decos)[kDecoEntries]) {
    int count = 0;
    while (count < kDecoEntries && decos[count] != nullptr) {
        ++count;
    }
    out.Int32(count);
    for (int i = 0; i < count; ++i) {
        out.Text(decos[i]->name, kNameSize);
    }
}

// False when the set lacks a piece: such a record could never be read back.
bool WriteRecord(platform::ByteWriter& out, int index, const CEquipSet& set, int weaponSlots) {
    out.Int32(index);
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (set.pieces[slot] == nullptr) {
            return false;
        }
        out.Int32(slot);
        out.Text(set.pieces[slot]->name, kNameSize);
        WriteDecos(out, set.decos[slot]);
    }
    if (weaponSlots != 0) {
        WriteDecos(out, set.decos[kWeaponPosition]);
    }
    return true;
}

bool ReadDecos(platform::ByteReader& in, const CEquipDatabase& database, CEquipSet& set,
               int position) {
    std::int32_t count = 0;
    if (!in.Int32(count) || count < 0 || count > kDecoEntries) {
        return false;
    }
    for (int i = 0; i < count; ++i) {
        std::string name;
        if (!in.Text(name, kNameSize)) {
            return false;
        }
        // A decoration that cannot be placed would vanish from the set without a word.
        if (!set.AddDeco(position, database.FindDeco(name.c_str()))) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<CEquipSet> ReadRecord(platform::ByteReader& in, const CEquipDatabase& database,
                                      int weaponSlots) {
    std::int32_t index = 0;
    if (!in.Int32(index)) {
        return nullptr;
    }
    auto set = std::make_unique<CEquipSet>();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        std::int32_t storedSlot = 0;
        std::string name;
        if (!in.Int32(storedSlot) || storedSlot != slot || !in.Text(name, kNameSize)) {
            return nullptr;
        }
        set->pieces[slot] = database.FindArmor(slot, name.c_str());
        if (set->pieces[slot] == nullptr || !ReadDecos(in, database, *set, slot)) {
            return nullptr;
        }
    }
    if (weaponSlots != 0 && !ReadDecos(in, database, *set, kWeaponPosition)) {
        return nullptr;
    }
    return set;
}

// The header values go straight into the caller's search condition, where a weapon class or sex
// outside 1..2 would index past the per-class lists and a weapon slot count outside 0..3 would
// promise slots that cannot exist.
bool IsPlausible(const ResultHeader& header) {
    return (header.job == 1 || header.job == 2) && (header.sex == 1 || header.sex == 2) &&
           header.weaponSlots >= 0 && header.weaponSlots <= kMaxWeaponSlots;
}

// The records are read a window at a time: with a whole record's worth of bytes ahead, each one
// parses from memory, and memory grows with the sets loaded, never with the size of the file.
// Returns null when every record was read, else the message that says why not.
const char* ReadBody(std::FILE* file, const CEquipDatabase& database, ResultHeader& header,
                     ResultList& loaded) {
    platform::Bytes window;
    if (!platform::ReadUpTo(file, kMaxRecordBytes, window)) {
        return kOpenFailed;
    }
    platform::ByteReader in(window);
    std::int32_t count = 0;
    if (!in.Int32(header.job) || !in.Int32(header.sex) || !in.Int32(header.weaponSlots) ||
        !in.UInt32(header.visited) || !in.UInt32(header.totalCombos) || !in.Int32(count) ||
        !IsPlausible(header) || count < 0) {
        return kInvalidFile;
    }
    std::size_t consumed = in.Offset();
    for (std::int32_t i = 0; i < count; ++i) {
        window.erase(window.begin(), window.begin() + static_cast<std::ptrdiff_t>(consumed));
        if (!platform::ReadUpTo(file, kMaxRecordBytes - window.size(), window)) {
            return kOpenFailed;
        }
        platform::ByteReader record(window);
        std::unique_ptr<CEquipSet> set = ReadRecord(record, database, header.weaponSlots);
        if (set == nullptr) {
            return kInvalidFile;
        }
        loaded.push_back(std::move(set));
        consumed = record.Offset();
    }
    return nullptr;
}

} // namespace

int CSkillSearch::SaveResults(const std::string& path, int job, int sex, int weaponSlots) {
    if (results.empty()) {
        return 1;
    }
    platform::ByteWriter out;
    out.Int32(kResultMagic);
    out.Int32(kResultVersion);
    out.Int32(job);
    out.Int32(sex);
    out.Int32(weaponSlots);
    out.UInt32(Saturate(visited));
    out.UInt32(Saturate(totalCombos));
    out.Int32(static_cast<std::int32_t>(results.size()));
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!WriteRecord(out, static_cast<int>(i), *results[i], weaponSlots)) {
            platform::Tell(sink, kSaveFailed);
            return 0;
        }
    }
    if (sink == nullptr) {
        return platform::SafeSave(path, out.bytes()) ? 1 : 0;
    }
    return platform::SaveOrTell(path, out.bytes(), *sink, kSaveFailed) ? 1 : 0;
}

// A file that fails the magic or version test leaves the current results alone; it is told
// apart by its first eight bytes, before anything else of it is read. Past those tests the
// current results are discarded whatever follows, and the window relies on that: a failed load
// after this point always shows an empty list. The file is parsed completely into a separate
// list first, so a rejected file never leaves half of its sets behind; a file that ends early is
// rejected like any other invalid one. The caller's header values and the counters are written
// only when the whole file was accepted.
int CSkillSearch::LoadResults(const std::string& path, int& job, int& sex, int& weaponSlots) {
    platform::FileHandle file = platform::OpenRegularFile(path);
    platform::Bytes head;
    if (!file || !platform::ReadUpTo(file.get(), 8, head)) {
        platform::Tell(sink, kOpenFailed);
        return 0;
    }
    platform::ByteReader in(head);
    std::int32_t magic = 0;
    std::int32_t version = 0;
    if (!in.Int32(magic) || (magic == kResultMagic && !in.Int32(version))) {
        platform::Tell(sink, kInvalidFile);
        return 0;
    }
    if (magic != kResultMagic) {
        platform::Tell(sink, kNotResultFile);
        return 0;
    }
    if (version != kResultVersion) {
        platform::Tell(sink, kWrongVersion);
        return 0;
    }
    results.clear();
    ResultHeader header;
    ResultList loaded;
    if (const char* failure = ReadBody(file.get(), database, header, loaded)) {
        platform::Tell(sink, failure);
        return 0;
    }
    results = std::move(loaded);
    job = header.job;
    sex = header.sex;
    weaponSlots = header.weaponSlots;
    visited = header.visited;
    totalCombos = header.totalCombos;
    return 1;
}
