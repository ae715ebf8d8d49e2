#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// What every fuzz target shares: a scratch folder, file helpers and the bundled tables.
namespace fuzz {

// A folder of this process for the files a target writes (on tmpfs when the machine has one, so
// the saves' fsync costs nothing), removed at exit. Ends in '/'.
const std::string& ScratchFolder();

void MakeFolder(const std::string& path);
void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size);
std::string ReadFile(const std::string& path);

// Loads the tables shipped in data/, so that list entries and results can name real records.
void LoadBundledTables(CEquipDatabase& database);
// The bundled tables, loaded on first use and shared by the whole run.
const CEquipDatabase& BundledTables();

// Reports a broken property and aborts, which libFuzzer records as a crash with its input.
[[noreturn]] void Fail(const char* what);

inline void Check(bool holds, const char* what) {
    if (!holds) {
        Fail(what);
    }
}

// A message sink that keeps nothing: the targets check results, not message texts.
class NullSink final : public platform::MessageSink {
public:
    void Show(std::string_view) override {}
};

} // namespace fuzz
