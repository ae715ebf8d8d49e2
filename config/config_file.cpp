#include <cstddef>
#include <cstdio>

#include "config/config_data.h"
#include "platform/byte_buffer.h"
#include "platform/regular_file.h"
#include "platform/save_failure.h"

namespace {

// Save writes a few hundred bytes. Of a larger file only this much is read: past it there can
// only be the rest of a recent list far longer than twelve, which then ends where the bytes read
// end, or bytes after the fixed block, which are never read anyway.
constexpr std::size_t kMaxConfigSize = 64 * 1024;

bool ReadConfigBytes(const std::string& path, platform::Bytes& bytes) {
    platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) {
        return false;
    }
    bytes.resize(kMaxConfigSize);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    return !std::ferror(file.get());
}

// The fields after the recent lists, in file order.
template <typename Config, typename Visit> void VisitFixedBlock(Config& config, Visit visit) {
    visit(config.m_nMaxDisplay);
    visit(config.m_nMaxCalc);
    visit(config.m_nSex);
    visit(config.m_nWeaponType);
    visit(config.m_nWeaponSlots);
    visit(config.m_bMinDefence);
    visit(config.m_nMinDefence);
    visit(config.m_bUseExclude);
    visit(config.m_bUseFixed);
    for (auto& off : config.m_bRarityOff) {
        visit(off);
    }
    visit(config.m_nSkillCount);
    for (auto& skill : config.m_nSkills) {
        visit(skill);
    }
    visit(config.m_bFastSearch);
    visit(config.m_bEarlyData);
    visit(config.m_bOwnedOnly);
    visit(config.m_bNoBodyDoubling);
    visit(config.m_nCustomSex);
    visit(config.m_nCustomWeapon);
    visit(config.m_nReserved1);
    visit(config.m_nOwnSex);
    visit(config.m_nOwnWeapon);
    visit(config.m_nReserved2);
    visit(config.m_nReserved3);
}

// Far above any skill table's size, and far below the bytes a stray tail is likely to hold; the
// window checks each index against the tables it loaded.
constexpr std::int32_t kLargestSkillIndex = 0xFFFF;

// The settings after the fixed block, in file order, each with the largest value it takes.
template <typename Config, typename Visit> void VisitExtension(Config& config, Visit visit) {
    visit(config.m_bExactFitting, 1);
    visit(config.m_nRankKey, kRankKeyCount - 1);
    for (auto& skill : config.m_nMoreSkills) {
        visit(skill, kLargestSkillIndex);
    }
}

// False when the file ended inside the list or its count cannot be trusted, so that nothing after
// it is read from a wrong offset.
bool ReadRecentList(platform::ByteReader& reader, CRecentSkillList& list) {
    std::int32_t count = 0;
    if (!reader.Int32(count) || count < 0) {
        return false;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t index = 0;
        if (!reader.Int32(index)) {
            return false;
        }
        list.Append(index);
    }
    return true;
}

void ReadAfterVersion(platform::ByteReader& reader, CConfigData& config) {
    for (CRecentSkillList& list : config.m_recent) {
        if (!ReadRecentList(reader, list)) {
            return;
        }
    }
    bool read = true;
    VisitFixedBlock(config, [&](std::int32_t& field) { read = read && reader.Int32(field); });
    // Bytes after the block were never looked at before the settings that follow it came; only
    // a value in a setting's range is taken from them.
    VisitExtension(config, [&](std::int32_t& field, std::int32_t largest) {
        std::int32_t value = 0;
        read = read && reader.Int32(value);
        if (read && value >= 0 && value <= largest) {
            field = value;
        }
    });
}

} // namespace

bool CConfigData::Load(const std::string& folder) {
    platform::Bytes bytes;
    if (!ReadConfigBytes(ConfigPath(folder), bytes)) {
        return false;
    }
    platform::ByteReader reader(bytes);
    std::int32_t version = 0;
    if (!reader.Int32(version) || version != kConfigVersion) {
        return false;
    }
    CConfigData loaded = *this;
    ReadAfterVersion(reader, loaded);
    *this = std::move(loaded);
    return true;
}

bool CConfigData::Save(const std::string& folder, platform::MessageSink& sink) const {
    platform::ByteWriter writer;
    writer.Int32(kConfigVersion);
    for (const CRecentSkillList& list : m_recent) {
        writer.Int32(list.Count());
        for (std::int32_t index : list.Values()) {
            writer.Int32(index);
        }
    }
    VisitFixedBlock(*this, [&](std::int32_t field) { writer.Int32(field); });
    VisitExtension(*this, [&](std::int32_t field, std::int32_t) { writer.Int32(field); });
    return platform::SaveOrTell(ConfigPath(folder), writer.bytes(), sink,
                                "コンフィグ情報の保存に失敗しました");
}
