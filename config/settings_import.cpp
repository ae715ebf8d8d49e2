#include "config/settings_import.h"

#include <cstdio>
#include <cstring>

#include "engine/tables/field_reader.h"
#include "platform/line_reader.h"
#include "platform/regular_file.h"

namespace {

constexpr std::size_t kTagSize = 16;
constexpr std::size_t kFieldSize = 32;

// Every field after the first goes into the same buffer, so an absent field leaves the text of
// the field before it.
void ReadFields(char (&field)[kFieldSize], const char*& cursor, int count) {
    for (int i = 0; i < count; ++i) {
        NextField(field, sizeof field, cursor);
    }
}

} // namespace

void CSettingsImport::ParseLine(const char* line) {
    char tag[kTagSize] = {};
    const char* cursor = line;
    NextField(tag, sizeof tag, cursor);
    char field[kFieldSize] = {};
    cursor = line;
    if (std::strcmp(tag, "EE") == 0) {
        ReadFields(field, cursor, 3);
        m_excludedNames.emplace_back(field);
    } else if (std::strcmp(tag, "PE") == 0) {
        ReadFields(field, cursor, 1);
        NextInt(cursor);
        ReadFields(field, cursor, 1);
        m_ownedNames.emplace_back(field);
    } else if (std::strcmp(tag, "PD") == 0) {
        ReadFields(field, cursor, 4);
        m_ownedNames.emplace_back(field);
    }
}

bool CSettingsImport::ImportSettings(const std::string& path) {
    m_excludedNames.clear();
    m_ownedNames.clear();
    platform::FileHandle file = platform::OpenRegularFile(path);
    if (!file) {
        return false;
    }
    platform::LineReader reader(file.get());
    std::string piece;
    std::size_t read = 0;
    while (reader.Next(piece)) {
        read += piece.size();
        if (read > kMaxFileSize) {
            m_excludedNames.clear();
            m_ownedNames.clear();
            return false;
        }
        ParseLine(piece.c_str());
    }
    if (std::ferror(file.get())) {
        m_excludedNames.clear();
        m_ownedNames.clear();
        return false;
    }
    return true;
}
