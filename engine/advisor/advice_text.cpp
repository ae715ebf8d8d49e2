#include "engine/advisor/advice_text.h"

#include "platform/sjis.h"

namespace {

std::string CountText(const SkillAdvice& line) {
    return std::to_string(line.sets) + (line.atLeast ? "件以上" : "件");
}

// "「…」を外す" for a change that drops something, the fitting's name for the one that switches.
std::string ChangeText(const CEquipDatabase& database, const SkillAdvice& line) {
    const std::string subject = AdviceSubject(database, line);
    return line.kind == AdviceKind::kExactFitting ? subject : subject + "を外す";
}

std::string LineText(const CEquipDatabase& database, const SkillAdvice& line) {
    const std::string joint = line.kind == AdviceKind::kExactFitting ? "なら " : "と ";
    return ChangeText(database, line) + joint + CountText(line);
}

} // namespace

std::string AdvisedSkillName(const CEquipDatabase& database, const SkillAdvice& line) {
    return platform::SjisToShownText(
        database.Skills()[static_cast<std::size_t>(line.row)]->skillName);
}

std::string AdviceSubject(const CEquipDatabase& database, const SkillAdvice& line) {
    switch (line.kind) {
    case AdviceKind::kSkill:
        return "「" + AdvisedSkillName(database, line) + "」";
    case AdviceKind::kMinDefence:
        return "最低防御力";
    case AdviceKind::kOwnedOnly:
        return "「所持品のみ」";
    case AdviceKind::kFixed:
        return "固定装備";
    case AdviceKind::kExactFitting:
        return "完全検索";
    }
    return {};
}

std::vector<std::string> AdviceLines(const CEquipDatabase& database,
                                     const std::vector<SkillAdvice>& advice) {
    std::vector<std::string> lines;
    std::vector<const SkillAdvice*> fruitless;
    for (const SkillAdvice& line : advice) {
        if (line.sets == 0) {
            fruitless.push_back(&line);
        } else {
            lines.push_back(LineText(database, line));
        }
    }
    if (fruitless.size() == 1) {
        lines.push_back(LineText(database, *fruitless.front()));
    } else if (!fruitless.empty()) {
        std::string folded = "次のどれでも 0件:";
        for (const SkillAdvice* line : fruitless) {
            folded += (line == fruitless.front() ? " " : "、") + ChangeText(database, *line);
        }
        lines.push_back(folded);
    }
    return lines;
}
