#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "ui/framework/clipboard.h"
#include "ui/pad_right.h"
#include "ui/simulator_dlg.h"
#include "ui/version.h"

namespace {

constexpr int kLineCount = 60;
constexpr int kLineSize = 128;
constexpr int kClipboardSize = 4096;
constexpr int kFirstSkillLine = 11;

const char* SexText(int sex) {
    return sex == 1 ? "男" : sex == 2 ? "女" : "共用";
}

const char* WeaponText(int job) {
    return job == 1 ? "剣士" : job == 2 ? "ガンナー" : "共用";
}

int ReadInt(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

// The composition area: fixed-size lines, each written once with a formatted print into its own
// slot, so a field longer than the line is cut there instead of running into the next one.
class SetTextLines {
public:
    SetTextLines() : area_(kLineCount * kLineSize, '\0') {}

    template <class... Args> void Print(int line, const char* utf8Format, Args... args) {
        if (line < 0 || line >= kLineCount) {
            return;
        }
        const std::string format = platform::Utf8ToSjis(utf8Format);
        std::snprintf(&area_[static_cast<std::size_t>(line * kLineSize)], kLineSize, format.c_str(),
                      args...);
    }

    // Every line up to its first zero byte, in order, then a zero byte; cut to the capacity.
    void CopyTo(char* destination, int capacity) const {
        if (capacity <= 0) {
            return;
        }
        std::string text;
        for (int line = 0; line < kLineCount; ++line) {
            text += &area_[static_cast<std::size_t>(line * kLineSize)];
        }
        const std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity) - 1);
        std::memcpy(destination, text.data(), length);
        destination[length] = '\0';
    }

private:
    std::string area_;
};

} // namespace

void CSimulatorDlg::OnBnClickedClip() {
    CopySetToClipboard();
}

void CSimulatorDlg::CopySetToClipboard() {
    std::vector<char> block(kClipboardSize, '\0');
    BuildSetText(block.data(), kClipboardSize);
    ui::SetClipboardSjisText(block.data());
}

void CSimulatorDlg::BuildSetText(char* destination, int capacity) const {
    const char* const dashes = "-----------------------------------------------\r\n";
    SetTextLines lines;
    lines.Print(0, "----------------------TEVRA KESTROVA ver %s--\r\n", GetVersionString());
    const std::string sex = platform::Utf8ToSjis(SexText(m_condition.sex));
    const std::string weapon = platform::Utf8ToSjis(WeaponText(m_condition.job));
    lines.Print(1, "■ %s  %s\r\n\r\n", sex.c_str(), weapon.c_str());
    lines.Print(2, "%s", dashes);

    using Equip = CListCtrlResultEquip;
    const ui::CReportList& pieces = m_listSetEquip;
    for (int row = 0; row < 6; ++row) {
        const std::string name = PadRight(20, pieces.GetItemText(row, Equip::kColName));
        const std::string deco1 = PadRight(6, pieces.GetItemText(row, Equip::kColFirstDeco));
        const std::string deco2 = PadRight(6, pieces.GetItemText(row, Equip::kColFirstDeco + 1));
        const std::string deco3 = PadRight(6, pieces.GetItemText(row, Equip::kColFirstDeco + 2));
        lines.Print(3 + row, "%s %s %s %s\r\n", name.c_str(), deco1.c_str(), deco2.c_str(),
                    deco3.c_str());
    }
    lines.Print(9, "%s", dashes);

    // Only the five pieces count: the weapon and total rows would add themselves twice.
    int sums[6] = {};
    for (int row = 0; row < kSlotCount; ++row) {
        for (int k = 0; k < 6; ++k) {
            sums[k] += ReadInt(pieces.GetItemText(row, Equip::kColDefence + k));
        }
    }
    lines.Print(10, "防御力[%d] 火[%d] 水[%d] 雷[%d] 氷[%d] 龍[%d]\r\n\r\n", sums[0], sums[1],
                sums[2], sums[3], sums[4], sums[5]);

    // A skill list longer than the area is cut so that the closing rule stays the last line.
    const int skillRows =
        std::min(m_listSetSkills.GetItemCount(), kLineCount - 1 - kFirstSkillLine);
    for (int row = 0; row < skillRows; ++row) {
        const std::string skill = m_listSetSkills.GetItemText(row, kSetSkillName);
        if (!skill.empty()) {
            lines.Print(kFirstSkillLine + row, "%s\r\n", skill.c_str());
        }
    }
    lines.Print(kFirstSkillLine + skillRows, "%s", dashes);
    lines.CopyTo(destination, capacity);
}
