#include "cli/path_option.h"

const CLI::Validator& NonEmptyPath() {
    static const CLI::Validator validator(
        [](const std::string& path) { return path.empty() ? std::string("an empty path") : ""; },
        "PATH");
    return validator;
}
