#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

// The engine's folders from the bottom up: a file may include headers of its own folder and of
// the folders below it. The advisor and the result files stand side by side at the top.
int LayerOf(const std::string& folder) {
    static const std::pair<const char*, int> kLayers[] = {
        {"tables", 0}, {"sets", 1},   {"condition", 2}, {"fitting", 3},
        {"exact", 4},  {"search", 5}, {"advisor", 6},   {"results", 6}};
    for (const auto& [name, layer] : kLayers) {
        if (folder == name) {
            return layer;
        }
    }
    return -1;
}

TEST(EngineIncludeLayers, NoFileIncludesAHeaderOfAFolderAboveItsOwn) {
    const std::filesystem::path engine = std::filesystem::path(KESTROVA_SOURCE_DIR) / "engine";
    const std::string prefix = "#include \"engine/";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(engine)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".txt") {
            continue;
        }
        const std::string folder = entry.path().parent_path().filename().string();
        ASSERT_GE(LayerOf(folder), 0) << "a folder without a place in the order: " << folder;
        ++files;
        std::ifstream file(entry.path());
        for (std::string line; std::getline(file, line);) {
            if (line.rfind(prefix, 0) != 0) {
                continue;
            }
            const std::string included =
                line.substr(prefix.size(), line.find('/', prefix.size()) - prefix.size());
            EXPECT_TRUE(included == folder || LayerOf(included) < LayerOf(folder))
                << entry.path().string() << ": " << line;
        }
    }
    EXPECT_GT(files, 0);
}

} // namespace
