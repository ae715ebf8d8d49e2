#pragma once

#include <string>

#include <CLI/CLI.hpp>

#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"

// The equipment list files a search is told to honour, as given on the command line.
struct ListOptions {
    std::string fixedFile;    // fixed set (.eq)
    std::string excludedFile; // excluded list (.eqe)
    std::string ownedFile;    // owned list (.eqo)
    bool ownedOnly = false;
};

void AddListOptions(CLI::App& command, ListOptions& options);

// Reads the named files into the condition with the readers a search start uses on the
// program's own list files, their messages going to stderr. Unlike those files, a file named
// here must exist and be of its format: otherwise CliExit is thrown with exit code 1. A fixed
// set gives the weapon slots, as it does in the window.
void ApplyListOptions(const ListOptions& options, const CEquipDatabase& database,
                      CSearchCondition& condition);
