#pragma once

#include <CLI/CLI.hpp>

// Refuses an empty file or folder name: taken as absent, it would quietly do nothing of what the
// option asks for.
const CLI::Validator& NonEmptyPath();
