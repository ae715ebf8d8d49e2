#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fuzz {
namespace {

std::string MakeScratchFolder() {
    std::error_code error;
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base, error)) {
        base = std::filesystem::temp_directory_path();
    }
    std::string pattern = (base / "kestrova-fuzz-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (mkdtemp(name.data()) == nullptr) {
        Fail("cannot create the scratch folder");
    }
    return std::string(name.data()) + "/";
}

std::string g_scratch;

void RemoveScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_scratch, ignored);
}

} // namespace

const std::string& ScratchFolder() {
    if (g_scratch.empty()) {
        g_scratch = MakeScratchFolder();
        std::atexit(RemoveScratchFolder);
    }
    return g_scratch;
}

void MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    Check(!error, "cannot create a scratch folder");
}

void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Check(file != nullptr, "cannot create a scratch file");
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    Check(std::fclose(file) == 0 && written, "cannot write a scratch file");
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void LoadBundledTables(CEquipDatabase& database) {
    Check(database.LoadTablesFrom(KESTROVA_DATA_DIR, 0) == 1, "cannot load " KESTROVA_DATA_DIR);
}

const CEquipDatabase& BundledTables() {
    static CEquipDatabase database;
    static const bool loaded = (LoadBundledTables(database), true);
    (void)loaded;
    return database;
}

void Fail(const char* what) {
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

} // namespace fuzz
