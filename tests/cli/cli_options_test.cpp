#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "engine/tables/equip_database.h"
#include "lists/fixed_set_file.h"
#include "platform/message_sink.h"
#include "platform/sjis.h"

// Each search option reaches the engine: the sets of a search with it show what it asks for, and
// the same search without it does not. Whether the sets are sound is the engine tests' concern.
namespace {

using json = nlohmann::ordered_json;
using Args = std::vector<std::string>;
using Holds = std::function<bool(const json& found, const json& plain)>;

const char kDeco[] = "攻撃珠【１】";

// The rule-based fitting in the order found, unless the arguments name a fitting or an order.
json Search(Args args) {
    const auto names = [&args](const char* option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (!names("--fitting") && !names("--exact")) {
        args.insert(args.end(), {"--fitting", "rules"});
    }
    if (!names("--best")) {
        args.insert(args.end(), {"--best", "none"});
    }
    args.insert(args.begin(), {"search", "--json", "--max-display", "200"});
    return JsonOf(RunCli(args));
}

// The sets come best first by `key`, read from a set.
Holds BestFirst(const std::function<int(const json& set)>& key) {
    return [key](const json& found, const json&) {
        const json& sets = found["results"];
        return std::is_sorted(sets.begin(), sets.end(),
                              [&key](const json& a, const json& b) { return key(a) > key(b); });
    };
}

Holds EverySet(const std::function<bool(const json& set)>& passes) {
    return [passes](const json& found, const json&) {
        return std::all_of(found["results"].begin(), found["results"].end(), passes);
    };
}

bool Lists(const json& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

json AllDecorations(const json& set) {
    json names = json::array();
    for (const json& position : set["decorations"]) {
        names.insert(names.end(), position.begin(), position.end());
    }
    return names;
}

TEST(CliOptions, EachOptionReachesTheEngine) {
    CEquipDatabase database;
    ASSERT_EQ(database.LoadTablesFrom(std::string(KESTROVA_SOURCE_DIR) + "/data/", 0), 1);
    const auto piece = [&database](const json& set, int slot) {
        const std::string name = platform::Utf8ToSjis(set["pieces"][slot].get<std::string>());
        return database.FindArmor(slot, name.c_str());
    };
    const auto everyPiece = [&piece](const std::function<bool(const CEquipData&)>& passes) {
        return EverySet([&piece, passes](const json& set) {
            bool all = true;
            for (int slot = 0; slot < kSlotCount; ++slot) {
                all = all && passes(*piece(set, slot));
            }
            return all;
        });
    };
    const Args oneArgs = {"--skill", "攻撃力UP【小】"};
    const json one = Search(oneArgs);
    ASSERT_EQ(one["results"].size(), 200u);
    std::string keys;
    for (const json* object : {&one, &one["results"][0]}) {
        for (const auto& item : object->items()) {
            keys += item.key() + " ";
        }
    }
    EXPECT_EQ(keys, "visited totalCombos hitCount elapsedMs fitting best stopReason results number "
                    "pieces decorations defense resist freeSlots skills ");
    EXPECT_EQ(one["fitting"], "rules");
    EXPECT_EQ(one["best"], "none");
    EXPECT_EQ(one["stopReason"], "displayLimit");

    // The fixed set holds the last set's head and, in two weapon slots, a decoration; the lists
    // come from a settings file through import: the first set's head and the decoration are
    // excluded, the pieces and decorations of the first two sets owned.
    TempFolder folder;
    const json& lastSet = one["results"].back();
    const std::string fixedHead = lastSet["pieces"][0];
    const std::string excludedHead = one["results"][0]["pieces"][0];
    FixedRows rows;
    SetFixedPiece(rows.rows[kHead], piece(lastSet, kHead));
    rows.weaponSlots = 2;
    ResetFixedRow(rows.rows[kWeaponPosition], 2);
    ASSERT_TRUE(AttachDecoration(rows.rows[kWeaponPosition],
                                 database.FindDeco(platform::Utf8ToSjis(kDeco).c_str())));
    platform::RecordingSink sink;
    ASSERT_TRUE(SaveFixedSet(rows, folder.File("set.eq"), sink));
    std::string settings = "EE,0," + excludedHead + ",1\r\nEE,0," + kDeco + ",1\r\n";
    std::set<std::string> owned;
    for (const json& set : {one["results"][0], one["results"][1]}) {
        for (const json& name : set["pieces"]) {
            owned.insert(name.get<std::string>());
            settings += "PE,0," + name.get<std::string>() + ",1\r\n";
        }
        for (const json& name : AllDecorations(set)) {
            settings += "PD,0,0," + name.get<std::string>() + ",1\r\n";
        }
    }
    folder.Write("settings.csv", platform::Utf8ToSjis(settings));
    ASSERT_EQ(RunCli({"import", folder.File("settings.csv"), "--eqe", folder.File("out.eqe"),
                      "--eqo", folder.File("mine.eqo")})
                  .code,
              0);

    const auto fewer = [](const char* counter) -> Holds {
        return [counter](const json& found, const json& plain) {
            return found[counter] < plain[counter];
        };
    };
    const struct {
        Args args; // the first names the option
        Holds holds;
    } cases[] = {
        {{"--skill", "会心＋１"},
         EverySet([](const json& set) { return Lists(set["skills"], "会心＋１"); })},
        {{"--avoid", "猛攻"},
         EverySet([](const json& set) { return !Lists(set["skills"], "猛攻"); })},
        {{"--job", "gunner"}, everyPiece([](const CEquipData& piece) { return piece.job != 1; })},
        {{"--sex", "female"}, everyPiece([](const CEquipData& piece) { return piece.sex != 1; })},
        {{"--rarity-off", "1", "2"},
         everyPiece([](const CEquipData& piece) { return piece.rarity > 2; })},
        {{"--min-defense", "150"}, EverySet([](const json& set) { return set["defense"] >= 150; })},
        {{"--weapon-slots", "3"},
         EverySet([](const json& set) { return !set["decorations"][5].empty(); })},
        {{"--fast"}, fewer("totalCombos")},
        {{"--no-doubling"}, fewer("totalCombos")},
        {{"--max-calc", "1"},
         [&fewer](const json& found, const json& plain) {
             return fewer("hitCount")(found, plain) && found["stopReason"] == "calcLimit";
         }},
        {{"--best", "defense"}, BestFirst([](const json& set) { return set["defense"]; })},
        {{"--best", "slots"}, BestFirst([](const json& set) { return set["freeSlots"]; })},
        {{"--best", "ice"}, BestFirst([](const json& set) { return set["resist"][3]; })},
        {{"--fixed", folder.File("set.eq")}, EverySet([&fixedHead](const json& set) {
             return set["pieces"][0] == fixedHead && Lists(set["decorations"][5], kDeco);
         })},
        {{"--exclude-list", folder.File("out.eqe")}, EverySet([&excludedHead](const json& set) {
             return set["pieces"][0] != excludedHead && !Lists(AllDecorations(set), kDeco);
         })},
        {{"--owned-only", "--owned-list", folder.File("mine.eqo")},
         EverySet([&owned](const json& set) {
             return std::all_of(set["pieces"].begin(), set["pieces"].end(),
                                [&owned](const json& name) { return owned.count(name) == 1; });
         })},
    };
    for (const auto& c : cases) {
        Args args = oneArgs;
        args.insert(args.end(), c.args.begin(), c.args.end());
        const json found = Search(args);
        EXPECT_FALSE(found["results"].empty()) << c.args[0];
        EXPECT_TRUE(c.holds(found, one)) << c.args[0];
        EXPECT_FALSE(c.holds(one, one)) << c.args[0] << ": the plain search shows it too";
    }

    // Fitting decorations exactly finds sets the normal fitting misses; --exact is the older
    // spelling, and the exact fitting ranked by defence is what a search does unless told.
    const Args five = {"--skill", "先読み",  "--skill",  "重撃【小】", "--skill",
                       "剛腕",    "--skill", "解体上手", "--skill",    "龍攻撃UP【小】"};
    const std::size_t rules = Search(five)["results"].size();
    for (const Args& exact : {Args{"--exact"}, Args{"--fitting", "exact"}}) {
        Args args = five;
        args.insert(args.end(), exact.begin(), exact.end());
        const json found = Search(args);
        EXPECT_EQ(found["fitting"], "exact");
        EXPECT_GT(found["results"].size(), rules) << exact[0];
    }
    Args plain = five;
    plain.insert(plain.begin(), {"search", "--max-display", "5"});
    const CliRun byDefault = RunCli(plain);
    EXPECT_NE(byDefault.out.find("防御力の高い順に上位5件を表示（ほかにもあります）\n"),
              std::string::npos)
        << byDefault.out;

    // A sixth and a seventh skill that the additional-skill search offers narrow the list to the
    // sets that meet them too.
    Args six = five;
    six.insert(six.end(), {"--skill", "研ぎ上手", "--fitting", "exact"});
    const json sixFound = Search(six);
    Args seven = six;
    seven.insert(seven.end(), {"--skill", "鉄壁"});
    const json sevenFound = Search(seven);
    EXPECT_FALSE(sevenFound["results"].empty());
    EXPECT_GE(sixFound["results"].size(), sevenFound["results"].size());
    EXPECT_GE(sevenFound["results"][0]["skills"].size(), 7U);
}

} // namespace
