#include "lists/list_format.h"

#include <algorithm>

namespace {

using platform::ByteReader;
using platform::ByteWriter;

void WriteEquipEntry(ByteWriter& writer, const EquipFileEntry& entry) {
    writer.Int32(entry.kind);
    writer.Text(entry.armorName, kArmorNameField);
    writer.Int32(entry.slotNumber);
    writer.Int32(entry.decoCount);
    for (const std::string& name : entry.decoNames) {
        writer.Text(name, kDecoNameField);
    }
    writer.Zeros(1);
}

bool ReadEquipEntry(ByteReader& reader, EquipFileEntry& entry) {
    bool read = reader.Int32(entry.kind) && reader.Text(entry.armorName, kArmorNameField) &&
                reader.Int32(entry.slotNumber) && reader.Int32(entry.decoCount);
    for (std::string& name : entry.decoNames) {
        read = read && reader.Text(name, kDecoNameField);
    }
    return read && reader.Skip(1);
}

bool ReadOwnedEntry(ByteReader& reader, OwnedFileEntry& entry) {
    return reader.Int32(entry.kind) && reader.Text(entry.name, kArmorNameField);
}

// Format number and version, in that order, so that a foreign file is named as such even when it
// is too short to hold a version.
ListFileStatus CheckHeader(ByteReader& reader, std::int32_t format) {
    std::int32_t value = 0;
    if (!reader.Int32(value)) {
        return ListFileStatus::kTruncated;
    }
    if (value != format) {
        return ListFileStatus::kWrongFormat;
    }
    if (!reader.Int32(value)) {
        return ListFileStatus::kTruncated;
    }
    return value == kListFileVersion ? ListFileStatus::kOk : ListFileStatus::kWrongVersion;
}

// Reads the entry count and every entry it announces; a count the file cannot hold is refused
// before a single entry is read.
template <typename Entry, typename ReadEntry>
ListFileStatus ParseCountedList(const platform::Bytes& bytes, std::int32_t format,
                                std::size_t entrySize, ReadEntry readEntry,
                                std::vector<Entry>& out) {
    ByteReader reader(bytes);
    const ListFileStatus header = CheckHeader(reader, format);
    if (header != ListFileStatus::kOk) {
        return header;
    }
    std::int32_t count = 0;
    if (!reader.Int32(count) || count < 0 ||
        static_cast<std::size_t>(count) > reader.Remaining() / entrySize) {
        return ListFileStatus::kTruncated;
    }
    std::vector<Entry> entries(static_cast<std::size_t>(count));
    for (Entry& entry : entries) {
        readEntry(reader, entry);
    }
    out = std::move(entries);
    return ListFileStatus::kOk;
}

void WriteHeader(ByteWriter& writer, std::int32_t format) {
    writer.Int32(format);
    writer.Int32(kListFileVersion);
}

} // namespace

int EquipFileEntry::UsableDecoCount() const {
    return std::clamp(decoCount, 0, kEntryDecoPlaces);
}

int ClampWeaponSlots(std::int32_t slotNumber) {
    return std::clamp(slotNumber, 0, kMaxWeaponSlots);
}

ListFileStatus ParseFixedSetFile(const platform::Bytes& bytes, FixedSetImage& out) {
    ByteReader reader(bytes);
    const ListFileStatus header = CheckHeader(reader, kFixedSetFormat);
    if (header != ListFileStatus::kOk) {
        return header;
    }
    FixedSetImage image;
    for (EquipFileEntry& entry : image) {
        if (!ReadEquipEntry(reader, entry)) {
            return ListFileStatus::kTruncated;
        }
    }
    out = std::move(image);
    return ListFileStatus::kOk;
}

ListFileStatus ParseExcludedListFile(const platform::Bytes& bytes,
                                     std::vector<EquipFileEntry>& out) {
    return ParseCountedList(bytes, kExcludedListFormat, kEquipEntrySize, ReadEquipEntry, out);
}

ListFileStatus ParseOwnedListFile(const platform::Bytes& bytes, std::vector<OwnedFileEntry>& out) {
    return ParseCountedList(bytes, kOwnedListFormat, kOwnedEntrySize, ReadOwnedEntry, out);
}

platform::Bytes EncodeFixedSetFile(const FixedSetImage& entries) {
    ByteWriter writer;
    WriteHeader(writer, kFixedSetFormat);
    for (const EquipFileEntry& entry : entries) {
        WriteEquipEntry(writer, entry);
    }
    return writer.Take();
}

platform::Bytes EncodeExcludedListFile(const std::vector<EquipFileEntry>& entries) {
    ByteWriter writer;
    WriteHeader(writer, kExcludedListFormat);
    writer.Int32(static_cast<std::int32_t>(entries.size()));
    for (const EquipFileEntry& entry : entries) {
        WriteEquipEntry(writer, entry);
    }
    return writer.Take();
}

platform::Bytes EncodeOwnedListFile(const std::vector<OwnedFileEntry>& entries) {
    ByteWriter writer;
    WriteHeader(writer, kOwnedListFormat);
    writer.Int32(static_cast<std::int32_t>(entries.size()));
    for (const OwnedFileEntry& entry : entries) {
        writer.Int32(entry.kind);
        writer.Text(entry.name, kArmorNameField);
    }
    return writer.Take();
}

platform::Bytes AppendToExcludedListFile(const platform::Bytes& file, std::size_t count,
                                         const EquipFileEntry& entry) {
    ByteWriter writer;
    WriteHeader(writer, kExcludedListFormat);
    writer.Int32(static_cast<std::int32_t>(count + 1));
    platform::Bytes out = writer.Take();
    const auto entries = file.begin() + static_cast<std::ptrdiff_t>(kListHeaderSize);
    out.insert(out.end(), entries, entries + static_cast<std::ptrdiff_t>(count * kEquipEntrySize));
    ByteWriter added;
    WriteEquipEntry(added, entry);
    out.insert(out.end(), added.bytes().begin(), added.bytes().end());
    return out;
}
