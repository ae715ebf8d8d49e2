#include "cli/set_texts.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <iterator>

#include <nlohmann/json.hpp>

#include "engine/sets/equip_set.h"
#include "engine/tables/equip_database.h"
#include "platform/sjis.h"

namespace {

SetTexts::Name NameOf(const char* sjis) {
    SetTexts::Name name{platform::SjisToShownText(sjis), {}};
    name.listed =
        PaddedText("," + nlohmann::ordered_json(name.text).dump(
                             -1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
    return name;
}

// Five values of this size at most add up within an int.
bool IsNarrow(std::int32_t value) {
    constexpr std::int32_t kMost = INT_MAX / kSlotCount;
    return value >= -kMost && value <= kMost;
}

// The JSON fields around a set's decorations and before its skills, written with them once.
constexpr std::string_view kDecorationsField = "],\"decorations\":";
constexpr std::string_view kAfterDecorations = ",\"defense\":";
constexpr std::string_view kSkillsField = ",\"skills\":";

// Room for the JSON of most arrangements, which are written once each but many thousands in
// all: grown piece by piece, their text cost more than listing their sets.
constexpr std::size_t kDecorationsRoom = 256;

} // namespace

// The skill table is small, and nearly every listing names most of its skills.
SetTexts::SetTexts(const CEquipDatabase& database, Form form) : finder_(database), form_(form) {
    for (const CSkillData* skill : database.Skills()) {
        skillNames_.push_back(NameOf(skill->skillName));
    }
}

void SetTexts::FindAhead(const std::vector<std::unique_ptr<CEquipSet>>& sets) {
    ahead_ = finder_.FindAll(sets);
}

const SetTexts::Looked& SetTexts::Look(const CEquipSet& set, std::size_t index) {
    const ActiveSkillFinder::SetNumbers& numbers = NumbersOf(set, index);
    looked_.decorations = &DecorationsOf(set, numbers.arrangement);
    looked_.skills = &SkillsOf(numbers.skills);
    for (unsigned left = numbers.changedPieces; left != 0; left &= left - 1) {
        const int slot = std::countr_zero(left);
        LookPiece(slot, set.pieces[slot], numbers.pieces[slot]);
    }
    if (wide_) {
        SumWide(set);
    } else {
        Take(low_, high_);
    }
    return looked_;
}

// As CEquipSet::Totals adds them up: while no value is wide, the narrow sums cannot overflow and
// saturate to themselves.
void SetTexts::Take(const Lanes& low, const Lanes& high) {
    looked_.totals = {low[0], {low[1], low[2], low[3], high[0], high[1]}};
    pieceSlots_ = high[2];
}

// Past the narrow sums, the totals are the set's own, read from its pieces' records.
void SetTexts::SumWide(const CEquipSet& set) {
    looked_.totals = set.Totals();
    std::int64_t slots = 0;
    for (const CEquipData* piece : set.pieces) {
        slots += piece != nullptr ? piece->slots : 0;
    }
    pieceSlots_ = static_cast<int>(slots);
}

const ActiveSkillFinder::SetNumbers& SetTexts::NumbersOf(const CEquipSet& set, std::size_t index) {
    if (ahead_.empty()) {
        return finder_.Find(set);
    }
    aheadNumbers_ = ahead_[index].Unpacked();
    return aheadNumbers_;
}

const SetTexts::Name& SetTexts::WritePiece(const CEquipData* piece, std::size_t number) {
    Name& name = pieces_.Add(number);
    name = NameOf(piece->name);
    longestPiece_ = std::max({longestPiece_, name.text.size(), name.listed.size()});
    if (number >= pieceValues_.size()) {
        pieceValues_.resize(number + 1);
    }
    const int(&resist)[5] = piece->resist;
    const std::int32_t values[] = {piece->EffectiveDefense(),
                                   resist[0],
                                   resist[1],
                                   resist[2],
                                   resist[3],
                                   resist[4],
                                   piece->slots};
    PieceValues& lanes = pieceValues_[number];
    lanes.low = Lanes{values[0], values[1], values[2], values[3]};
    lanes.high = Lanes{values[4], values[5], values[6], 0};
    wide_ = wide_ || !std::all_of(std::begin(values), std::end(values), IsNarrow);
    return name;
}

int SetTexts::FreeSlots(int weaponSlots) const {
    return weaponSlots - looked_.decorations->taken + pieceSlots_;
}

const SetTexts::Name& SetTexts::Decoration(const CDecoData* deco) {
    bool isNew = false;
    const std::size_t number = decorationNumbers_.NumberOf(deco, isNew);
    if (isNew) {
        decorationNames_.push_back(NameOf(deco->name));
    }
    return decorationNames_[number];
}

// Every decoration a position holds is named, empty places between them skipped; the readable
// form joins the names as the report joins any list, with no separator after an empty text.
const SetTexts::Decorations& SetTexts::WriteDecorations(const CEquipSet& set, std::size_t number) {
    Decorations& written = decorations_.Add(number);
    std::string& json = building_;
    json.clear();
    json.reserve(kDecorationsRoom);
    json.append(kDecorationsField).push_back('[');
    std::string& joined = joined_;
    for (int position = 0; position < kPositionCount; ++position) {
        json += position == 0 ? "[" : ",[";
        joined.clear();
        bool any = false;
        for (const CDecoData* deco : set.decos[position]) {
            if (deco == nullptr) {
                continue;
            }
            const Name& name = Decoration(deco);
            json.append(any ? name.listed.View() : name.Quoted());
            if (form_ == Form::kReadable) {
                joined.append(joined.empty() ? "" : ", ").append(name.text);
            }
            any = true;
        }
        json += "]";
        if (any && form_ == Form::kReadable) {
            std::string& bracket = written.brackets[position];
            bracket.reserve(joined.size() + 2);
            bracket.append("[").append(joined).append("]");
            written.bracketsSize += bracket.size();
        }
    }
    json.append("]").append(kAfterDecorations);
    written.json = PaddedText(json);
    for (int position = 0; position < kPositionCount; ++position) {
        written.taken += set.DecoSize(position);
    }
    return written;
}

// The readable form joins the names as the report joins any list, with no separator after an
// empty text.
const SetTexts::Skills& SetTexts::WriteSkills(std::size_t skills) {
    Skills& written = skills_.Add(skills);
    std::string& json = building_;
    json.assign(kSkillsField).push_back('[');
    bool any = false;
    for (const int row : finder_.ActiveRows(skills)) {
        const Name& name = skillNames_[static_cast<std::size_t>(row)];
        json.append(any ? name.listed.View() : name.Quoted());
        written.text.append(written.text.empty() ? "" : " / ").append(name.text);
        any = true;
    }
    json.append("]}");
    written.json = PaddedText(json);
    return written;
}
