#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"
#include "support/temp_folder.h"

// Small hand-made tables and a byte-level spelling of the list formats that does not use the
// code under test.
namespace list_test {

inline std::string Le(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {char(bits), char(bits >> 8), char(bits >> 16), char(bits >> 24)};
}

inline std::string Field(const std::string& text, std::size_t width) {
    return (text + std::string(width, '\0')).substr(0, width);
}

// A 100-byte entry of the fixed-set and excluded-list formats.
inline std::string Entry(int kind, const std::string& armor, int slotNumber, int decoCount = 0,
                         const std::string& deco1 = "", const std::string& deco2 = "",
                         const std::string& deco3 = "") {
    return Le(kind) + Field(armor, 24) + Le(slotNumber) + Le(decoCount) + Field(deco1, 21) +
           Field(deco2, 21) + Field(deco3, 21) + std::string(1, '\0');
}

inline std::string Owned(int kind, const std::string& name) {
    return Le(kind) + Field(name, 24);
}

// Format number, version 1, and the entries; counted lists also get their count.
inline std::string File(int format, const std::vector<std::string>& entries) {
    std::string file =
        Le(format) + Le(1) + (format == 1042 ? "" : Le(static_cast<std::int32_t>(entries.size())));
    for (const std::string& entry : entries) {
        file += entry;
    }
    return file;
}

// Two pieces per slot ("piece<slot>a" with 2 slots, "piece<slot>b" with 3) and three
// decorations of sizes 1 to 3.
class ListFilesTest : public ::testing::Test {
protected:
    ListFilesTest() {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const std::string prefix = "piece" + std::to_string(slot);
            pieces[slot][0] = AddPiece(slot, prefix + "a", 2);
            pieces[slot][1] = AddPiece(slot, prefix + "b", 3);
        }
    }

    CEquipData* AddPiece(int slot, const std::string& name, int slots) {
        CEquipData piece;
        piece.kind = slot;
        std::strncpy(piece.name, name.c_str(), kNameSize - 1);
        piece.slots = slots;
        return &database.AddArmor(slot, piece);
    }
    CDecoData* AddDeco(const std::string& name, int size) {
        CDecoData deco;
        std::strncpy(deco.name, name.c_str(), kNameSize - 1);
        deco.size = size;
        return &database.AddDeco(deco);
    }
    CEquipData* Piece(int slot, int which = 0) const { return pieces[slot][which]; }

    CEquipDatabase database;
    CEquipData* pieces[kSlotCount][2] = {};
    CDecoData* small = AddDeco("small", 1);
    CDecoData* medium = AddDeco("medium", 2);
    CDecoData* large = AddDeco("large", 3);
    TempFolder folder;
    platform::RecordingSink sink;
};

} // namespace list_test
