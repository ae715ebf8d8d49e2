#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The names that a foreign settings file lists: excluded equipment ("EE" lines) and owned
// equipment and decorations ("PE" and "PD" lines), each in file order with duplicates kept.
class CSettingsImport {
public:
    std::vector<std::string> m_excludedNames;
    std::vector<std::string> m_ownedNames;

    // Adds the name of one line, if it is a line of interest. The first field must be exactly
    // "EE", "PE" or "PD"; the name is the last field read, so a line too short for its name field
    // yields the field before it.
    void ParseLine(const char* line);
    // Empties both lists and collects the names of the settings file at `path`, read line by line
    // in pieces of at most 511 bytes. False, with both lists empty, when the file cannot be
    // opened or holds more than kMaxFileSize bytes.
    bool ImportSettings(const std::string& path);

    // A settings file lists the equipment of one game, some hundred kilobytes. Any short line of
    // a foreign file can carry a name, and every name costs a table search when the lists are
    // written, so a far larger file (or a device that never ends) is refused, not read.
    static constexpr std::size_t kMaxFileSize = 4u << 20;
};
