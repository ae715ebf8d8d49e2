// Writes the seed corpora: good files made by the program's own writers from the bundled tables,
// and broken ones made from them by hand (cut short, foreign counts, out-of-range fields).
// Usage: fuzz_make_seeds <corpus folder>; each target's seeds go into a folder of its name.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "config/config_data.h"
#include "config/import_writers.h"
#include "engine/tables/sjis_text.h"
#include "engine/search/skill_search.h"
#include "fuzz_support.h"
#include "lists/excluded_list_file.h"
#include "lists/fixed_set_file.h"
#include "lists/owned_list_file.h"

namespace {

namespace fs = std::filesystem;

fs::path g_corpus;
fuzz::NullSink g_sink;

void Put(const std::string& target, const std::string& name, const std::string& bytes) {
    fs::create_directories(g_corpus / target);
    std::ofstream(g_corpus / target / name, std::ios::binary) << bytes;
}

std::string Le(std::int32_t value) {
    std::string out;
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i)));
    }
    return out;
}

std::string Patched(std::string bytes, std::size_t offset, std::int32_t value) {
    bytes.replace(offset, 4, Le(value));
    return bytes;
}

std::string Scratch(const std::string& name) {
    return fuzz::ScratchFolder() + name;
}

// The first lines of a bundled table, enough to show the fuzzer every column.
std::string TableHead(const char* file, int lines) {
    std::ifstream in(std::string(KESTROVA_DATA_DIR) + file, std::ios::binary);
    std::string text;
    std::string line;
    for (int i = 0; i < lines && std::getline(in, line); ++i) {
        text += line + "\n";
    }
    return text;
}

void TableSeeds(const CEquipDatabase& database) {
    const char* files[] = {"TEVREQUIP_HEAD.csv", "TEVREQUIP_BODY.csv", "TEVREQUIP_ARM.csv",
                           "TEVREQUIP_WST.csv",  "TEVREQUIP_LEG.csv",  "SKILL_EQ.csv",
                           "TEVREQUIP_DECO.csv"};
    for (int kind = 0; kind < 7; ++kind) {
        Put("tables", "bundled_" + std::to_string(kind), char(kind) + TableHead(files[kind], 12));
    }
    const std::string piece = database.Armor(kHead).front()->name;
    Put("tables", "armor_comments_and_blanks",
        std::string(1, 0) + "  # comment\n\t# a record\n\n" + piece + ",0,1,1,2\r\n" + piece +
            ",1,2,3,3,10,20,1,2,3,4,5");
    Put("tables", "armor_long_line",
        std::string(1, 7 + 1) + piece + std::string(600, ',') + "x\n" + std::string(1500, 'a'));
    Put("tables", "armor_huge_numbers",
        std::string(1, 2) + piece + ",99999999999999999999,-99999999999999999999,+5x,- 3,,\r,\n");
    Put("tables", "skill_edges",
        std::string(1, 5) + "name,system,200,3,\x8D\x55\x8C\x82\x8D\x55,L\nname2,system,-10\n" +
            "a-very-long-skill-name-indeed,a-very-long-system-name-too,10,0,\x91\xBC,A\n");
    Put("tables", "deco_edges",
        std::string(1, 6) +
            "deco,1,1,sys,1,,0,\x8F\xE3\ndeco2,1,3,sys,2,other,-1,\x8F\xE3\x8F\xE3\n" +
            "deco3,1,0\n");
}

// Control bytes, then the seven tables in the order skills, decorations, head … leg, each ended
// by the separator byte 0x1E. Control: byte 0 the skill count, class, sex, weapon slots and
// flags; 1 to 5 the skill rows; 6 the avoided ones; 7 the minimum defence; 8 and 9 the limits and
// a rarity left out; 10 and 11 a fixed piece and the refine.
std::string SearchInput(const std::string& control, const std::string (&tables)[7]) {
    std::string input = control;
    for (const std::string& table : tables) {
        input += table + "\x1E";
    }
    return input;
}

void SearchSeeds() {
    const std::string bundled[7] = {
        TableHead("SKILL_EQ.csv", 40),      TableHead("TEVREQUIP_DECO.csv", 30),
        TableHead("TEVREQUIP_HEAD.csv", 7), TableHead("TEVREQUIP_BODY.csv", 7),
        TableHead("TEVREQUIP_ARM.csv", 7),  TableHead("TEVREQUIP_WST.csv", 7),
        TableHead("TEVREQUIP_LEG.csv", 7),
    };
    Put("search", "bundled_two_skills",
        SearchInput(std::string("\x3D\x01\x05\x09\x0D\x11\x00\x00\x09\x10\x00\x02", 12), bundled));
    Put("search", "bundled_fixed_avoided_min_defence",
        SearchInput(std::string("\x3E\x02\x07\x0B\x10\x15\x06\x45\x27\x8A\x93\x05", 12), bundled));
    const std::string doubling = sjis::kBodyDoubling;
    const std::string small[7] = {
        "a10,A,10,0,x,A\na15,A,15,0,x,A\nb10,B,10,0,x,A\nbm,B,-10,0,x,A\nc5,C,5,0,x,A\n",
        "d1,1,1,A,1,B,-1,x\nd2,1,2,A,3,,0,x\nd3,1,3,A,5,B,-2,x\ne1,1,1,B,2,C,-1,x\n"
        "e3,1,3,B,6,,0,x\nf2,1,2,C,2,A,-1,x\n",
        "h1,0,0,1,3,10,10,1,1,1,1,1,A,3,B,-2\nh2,0,0,2,1,12,12,0,0,0,0,0,C,4\n",
        "b1,0,0,1,3,20,20,0,0,0,0,0,A,5,B,2\nb2,0,0,3,2,15,15,0,0,0,0,0,B,-3,C,1\n",
        "r1,0,0,1,2,8,8,0,0,0,0,0," + doubling + ",0\nr2,0,1,1,1,9,9,0,0,0,0,0,A,2\n",
        "w1,0,0,1,0,7,7,0,0,0,0,0," + doubling + ",0\nw2,0,2,1,3,6,6,0,0,0,0,0,B,4\n",
        "l1,0,0,1,1,5,5,0,0,0,0,0,A,1,C,2\nl2,2,0,1,2,5,5,0,0,0,0,0,B,1\n",
    };
    Put("search", "doubling_minus_levels",
        SearchInput(std::string("\x3E\x00\x02\x04\x03\x01\x02\x00\x14\x30\x00\x01", 12), small));
    Put("search", "doubling_minus_levels_complete",
        SearchInput(std::string("\x3E\x00\x02\x04\x03\x01\x02\x80\x14\x30\x00\x01", 12), small));
    Put("search", "bundled_fixed_min_defence_complete",
        SearchInput(std::string("\x3E\x02\x07\x0B\x10\x15\x06\xC5\x27\x8A\x93\x05", 12), bundled));
    std::string huge[7] = {small[0], small[1], small[2], small[3], small[4], small[5], small[6]};
    huge[1] += "zz,1,1,A,2147483647,,0,x\nyy,1,2,A,1,B,-2147483647,x\nxx,1,1,A,5,B,-2147483648,x\n";
    huge[2] += "hz,0,0,1,2147483647,1,1,0,0,0,0,0,A,2147483647,B,-2147483648\n";
    Put("search", "huge_numbers",
        SearchInput(std::string("\x3D\x00\x02\x04\x00\x00\x00\x00\x14\x30\x00\x02", 12), huge));
}

void ConfigSeeds() {
    const std::string folder = Scratch("config/");
    fs::create_directories(folder);
    CConfigData config;
    config.Save(folder, g_sink);
    const std::string defaults = fuzz::ReadFile(ConfigPath(folder));
    Put("config", "defaults", defaults);
    for (int i = 0; i < 14; ++i) {
        config.PushRecentSkill(i % 2, i * 7);
    }
    config.m_nSkillCount = 3;
    config.m_nSkills[0] = 4;
    config.m_bRarityOff[10] = 1;
    config.Save(folder, g_sink);
    const std::string used = fuzz::ReadFile(ConfigPath(folder));
    Put("config", "recent_lists", used);
    Put("config", "version_3", Patched(defaults, 0, 3));
    Put("config", "cut_in_block", used.substr(0, 100));
    Put("config", "cut_in_list", used.substr(0, 18));
    Put("config", "negative_count", Patched(defaults, 4, -1));
    Put("config", "count_1e9", Patched(defaults, 4, 1000000000));
    Put("config", "second_count_past_end", Patched(defaults, 8, 200));
}

FixedRows SampleRows(const CEquipDatabase& database) {
    FixedRows rows;
    for (int slot = 0; slot < kSlotCount; slot += 2) {
        SetFixedPiece(rows.rows[slot], database.Armor(slot)[slot * 3]);
        AttachDecoration(rows.rows[slot], database.Decos()[slot]);
    }
    rows.weaponSlots = 3;
    ResetFixedRow(rows.rows[kWeaponPosition], 3);
    AttachDecoration(rows.rows[kWeaponPosition], database.Decos().front());
    return rows;
}

CEquipSet SampleSet(const CEquipDatabase& database, int variant) {
    CEquipSet set;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        set.pieces[slot] = database.Armor(slot)[variant + slot];
        for (int place = 0; place < slot % 4; ++place) {
            set.AddDeco(slot, database.Decos()[variant + place]);
        }
    }
    set.weaponSlots = variant % 4;
    set.AddDeco(kWeaponPosition, database.Decos().back());
    return set;
}

void FixedSetSeeds(const CEquipDatabase& database) {
    const std::string path = Scratch("seed.eq");
    SaveFixedSet(FixedRows{}, path, g_sink);
    Put("fixed_set", "empty_rows", fuzz::ReadFile(path));
    SaveFixedSet(SampleRows(database), path, g_sink);
    const std::string rows = fuzz::ReadFile(path);
    Put("fixed_set", "saved_rows", rows);
    SaveResultAsFixedSet(SampleSet(database, 1), path, g_sink);
    const std::string set = fuzz::ReadFile(path);
    Put("fixed_set", "saved_result_set", set);
    Put("fixed_set", "cut_short", rows.substr(0, 300));
    Put("fixed_set", "version_2", Patched(rows, 4, 2));
    Put("fixed_set", "excluded_format", Patched(rows, 0, 1798));
    Put("fixed_set", "weapon_slots_99", Patched(set, 8 + 5 * 100 + 28, 99));
    Put("fixed_set", "deco_count_7", Patched(Patched(set, 8 + 32, 7), 8 + 100 + 32, -1));
    std::string unterminated = set;
    unterminated.replace(8 + 4, 24, std::string(24, 'N'));
    unterminated.replace(8 + 100 + 36, 63, std::string(63, 'D'));
    Put("fixed_set", "names_without_terminator", unterminated);
}

ExcludedRows SampleExcludedRows(const CEquipDatabase& database) {
    ExcludedRows rows;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        rows.push_back(MakeExcludedRow(database.Armor(slot)[slot]));
    }
    rows.push_back(MakeExcludedRow(database.Decos()[3]));
    rows.push_back(ExcludedRow{});
    return rows;
}

void ExcludedSeeds(const CEquipDatabase& database) {
    const std::string path = Scratch("seed.eqe");
    SaveExcludedList({}, path, g_sink);
    Put("excluded_list", "empty_list", fuzz::ReadFile(path));
    SaveExcludedList(SampleExcludedRows(database), path, g_sink);
    const std::string list = fuzz::ReadFile(path);
    Put("excluded_list", "saved_rows", list);
    const std::string folder = Scratch("append/");
    fs::create_directories(folder);
    AppendExcludedPiece(*database.Armor(kWaist).back(), folder, g_sink);
    Put("excluded_list", "appended_piece", fuzz::ReadFile(folder + "Exclude.dat"));
    WriteImportedExcludedList(database, path,
                              {database.Decos()[1]->name, "unknown", database.Armor(kLeg)[0]->name},
                              g_sink);
    Put("excluded_list", "imported", fuzz::ReadFile(path));
    Put("excluded_list", "count_1e9", Patched(list, 8, 1000000000));
    Put("excluded_list", "count_negative", Patched(list, 8, -1));
    Put("excluded_list", "cut_in_entry", list.substr(0, 12 + 100 * 2 + 40));
    Put("excluded_list", "version_0", Patched(list, 4, 0));
    Put("excluded_list", "owned_format", Patched(list, 0, 1795));
    Put("excluded_list", "kind_9", Patched(Patched(list, 12, 9), 112, -1));
    std::string unterminated = list;
    unterminated.replace(12 + 4, 24, std::string(24, 'N'));
    Put("excluded_list", "name_without_terminator", unterminated);
}

void OwnedSeeds(const CEquipDatabase& database) {
    const std::string path = Scratch("seed.eqo");
    OwnedLists owned;
    SaveOwnedList(owned, path, g_sink);
    Put("owned_list", "empty_list", fuzz::ReadFile(path));
    for (int slot = 0; slot < kSlotCount; ++slot) {
        owned.Add(database.Armor(slot)[2]);
        owned.Add(database.Armor(slot)[7]);
    }
    owned.Add(database.Decos()[5]);
    SaveOwnedList(owned, path, g_sink);
    const std::string list = fuzz::ReadFile(path);
    Put("owned_list", "saved_lists", list);
    WriteImportedOwnedList(database, path, {"unknown", database.Decos()[0]->name, "other"}, g_sink);
    Put("owned_list", "imported_with_zero_entries", fuzz::ReadFile(path));
    Put("owned_list", "count_1e9", Patched(list, 8, 1000000000));
    Put("owned_list", "count_negative", Patched(list, 8, -5));
    Put("owned_list", "cut_in_entry", list.substr(0, 12 + 28 * 3 + 9));
    Put("owned_list", "version_2", Patched(list, 4, 2));
    Put("owned_list", "fixed_format", Patched(list, 0, 1042));
    Put("owned_list", "kinds_6_and_negative", Patched(Patched(list, 12, 6), 40, -1));
}

std::string SavedResults(CSkillSearch& search, int weaponSlots) {
    const std::string path = Scratch("seed.eql");
    search.SaveResults(path, 1, 2, weaponSlots);
    return fuzz::ReadFile(path);
}

void ResultSeeds(CSkillSearch& search) {
    for (int variant = 0; variant < 3; ++variant) {
        search.results.push_back(std::make_unique<CEquipSet>(SampleSet(search.database, variant)));
    }
    search.visited = 123456;
    search.totalCombos = 7890123;
    const std::string armorOnly = SavedResults(search, 0);
    const std::string withWeapon = SavedResults(search, 3);
    Put("result_file", "three_sets_no_weapon", armorOnly);
    Put("result_file", "three_sets_weapon_3", withWeapon);
    search.results.resize(1);
    const std::string one = SavedResults(search, 2);
    Put("result_file", "one_set_weapon_2", one);
    Put("result_file", "count_2e31", Patched(one, 28, 0x7FFFFFFF));
    Put("result_file", "count_negative", Patched(one, 28, -1));
    Put("result_file", "second_slot_0", Patched(one, 32 + 4 + 29, 0));
    Put("result_file", "deco_count_4", Patched(one, 32 + 4 + 25, 4));
    Put("result_file", "cut_short", withWeapon.substr(0, withWeapon.size() / 2));
    Put("result_file", "job_3", Patched(one, 8, 3));
    Put("result_file", "version_2", Patched(one, 4, 2));
    Put("result_file", "magic_wrong", Patched(one, 0, 545));
    std::string unknown = one;
    unknown.replace(32 + 8, 21, std::string("no such piece").append(8, '\0'));
    Put("result_file", "unknown_piece", unknown);
}

void SettingsSeeds(const CEquipDatabase& database) {
    const std::string head = database.Armor(kHead)[3]->name;
    const std::string leg = database.Armor(kLeg)[4]->name;
    const std::string deco = database.Decos()[6]->name;
    std::ostringstream lines;
    lines << "MH,1,2\nME,x\nMD,y\nM,z\nP,w\n";
    lines << "EE,1," << head << "\nEE,5," << deco << "\nEE,1,unknown\n";
    lines << "PE,3," << leg << "\r\nPE,1,missing\r\nPD,1,2," << deco << "\r\n";
    Put("settings_import", "all_kinds", lines.str());
    Put("settings_import", "ignored_only", "MH,1\nME,2\nMD,3\nM,4\nP,5\n");
    Put("settings_import", "wrong_tags", "ee,1," + head + "\nEEX,1," + head + "\nPEE,1\n");
    Put("settings_import", "short_lines", "PD,1," + deco + "\nEE,only\nPE\nPD\n");
    Put("settings_import", "carriage_returns", "EE,1," + head + "\rPD,1,2," + deco + "\r");
    Put("settings_import", "long_line",
        "EE,1," + std::string(600, 'n') + "\nPE,1," + std::string(40, 'x') + "," + leg);
    Put("settings_import", "embedded_nul", std::string("EE,1,a\0b\nPD,1,2,", 16) + deco + "\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    g_corpus = argv[1];
    CSkillSearch search(nullptr, &g_sink);
    fuzz::LoadBundledTables(search.database);
    TableSeeds(search.database);
    SearchSeeds();
    ConfigSeeds();
    FixedSetSeeds(search.database);
    ExcludedSeeds(search.database);
    OwnedSeeds(search.database);
    SettingsSeeds(search.database);
    ResultSeeds(search);
    return 0;
}
