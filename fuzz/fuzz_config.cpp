// Config.dat: any bytes are read without harm, a refused file leaves the defaults, and whatever
// was read is saved in a form that reads back to the same record.

#include <filesystem>
#include <string>

#include "config/config_data.h"
#include "fuzz_support.h"

namespace {

std::string SavedBytes(const CConfigData& config, const std::string& folder) {
    fuzz::NullSink sink;
    fuzz::Check(config.Save(folder, sink), "Config.dat save failed");
    return fuzz::ReadFile(ConfigPath(folder));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzz::ScratchFolder() + "input/";
    const std::string output = fuzz::ScratchFolder() + "output/";
    std::filesystem::create_directories(input);
    std::filesystem::create_directories(output);
    fuzz::WriteFile(ConfigPath(input), data, size);

    CConfigData config;
    if (!config.Load(input)) {
        fuzz::Check(SavedBytes(config, output) == SavedBytes(CConfigData{}, output),
                    "a refused Config.dat changed the record");
        return 0;
    }
    const std::string saved = SavedBytes(config, output);
    CConfigData reread;
    fuzz::Check(reread.Load(output), "a saved Config.dat was refused");
    fuzz::Check(SavedBytes(reread, output) == saved, "Config.dat does not read back as saved");
    return 0;
}
