#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/tables/records.h"
#include "platform/byte_buffer.h"

// The three binary list formats: little-endian 32-bit integers and zero-filled Shift-JIS text
// fields, a format number and a version first, no padding and nothing after the last entry.

constexpr std::int32_t kFixedSetFormat = 1042;
constexpr std::int32_t kExcludedListFormat = 1798;
constexpr std::int32_t kOwnedListFormat = 1795;
constexpr std::int32_t kListFileVersion = 1;

constexpr std::size_t kEquipEntrySize = 100;
constexpr std::size_t kOwnedEntrySize = 28;
constexpr std::size_t kListHeaderSize = 12; // format, version, entry count
constexpr std::size_t kArmorNameField = 24;
constexpr std::size_t kDecoNameField = 21;
constexpr int kEntryDecoPlaces = 3;
constexpr int kFixedEntryCount = kPositionCount; // five armour positions and the weapon
constexpr std::size_t kFixedSetFileSize = 8 + kEquipEntrySize * kFixedEntryCount;
constexpr int kMaxWeaponSlots = 3;

// One 100-byte entry of a fixed-set or excluded-list file. Names are the bytes of their field up
// to the first NUL, or the whole field when it holds none.
struct EquipFileEntry {
    std::int32_t kind = 0;
    std::string armorName;
    std::int32_t slotNumber = 0;
    std::int32_t decoCount = 0;
    std::string decoNames[kEntryDecoPlaces];

    // An entry without an armour name and without a first decoration name (an all-zero entry,
    // for example) names nothing and is skipped by every reader.
    bool NamesNothing() const { return armorName.empty() && decoNames[0].empty(); }
    // The decoration count as far as the entry's three name fields reach.
    int UsableDecoCount() const;
};

// One 28-byte entry of an owned-list file.
struct OwnedFileEntry {
    std::int32_t kind = 0;
    std::string name;
};

using FixedSetImage = std::array<EquipFileEntry, kFixedEntryCount>;

// Why a file was refused. A file too short for its header or for the entries its count
// announces, and one with a negative count, is treated like a file of another format.
enum class ListFileStatus { kOk, kWrongFormat, kWrongVersion, kTruncated };

// Parsers check everything before they fill `out`, so a refused file leaves it untouched. Bytes
// after the last announced entry are ignored.
ListFileStatus ParseFixedSetFile(const platform::Bytes& bytes, FixedSetImage& out);
ListFileStatus ParseExcludedListFile(const platform::Bytes& bytes,
                                     std::vector<EquipFileEntry>& out);
ListFileStatus ParseOwnedListFile(const platform::Bytes& bytes, std::vector<OwnedFileEntry>& out);

platform::Bytes EncodeFixedSetFile(const FixedSetImage& entries);
platform::Bytes EncodeExcludedListFile(const std::vector<EquipFileEntry>& entries);
platform::Bytes EncodeOwnedListFile(const std::vector<OwnedFileEntry>& entries);

// `file`, an excluded list that parsed with `count` entries, with `entry` added after them. The
// entries already there are copied as they are, bytes after their terminators included, so that
// adding one entry never rewrites the others.
platform::Bytes AppendToExcludedListFile(const platform::Bytes& file, std::size_t count,
                                         const EquipFileEntry& entry);

// The weapon slot count of a fixed-set weapon entry, forced into 0..3: a weapon has at most three
// slots, and the count selects an item of the dialog's four-item weapon-slot box.
int ClampWeaponSlots(std::int32_t slotNumber);
