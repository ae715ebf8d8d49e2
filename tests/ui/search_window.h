#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui_fixture.h"

// A main window whose message pump the test can hook: the engine pumps through it from inside its
// loops, so a hook can press buttons or let the progress timer tick mid-search.
class HookedDialog : public CSimulatorDlg {
public:
    using CSimulatorDlg::CSimulatorDlg;
    void PumpMessages() override;
    void TickTimer() { OnTimer(kSearchTimer); }

    int pumps = 0;
    std::function<void(HookedDialog&)> onPump;
};

class SearchWindowTest : public MainWindowTest {
protected:
    bool StartHooked();
    HookedDialog& Hooked() const { return static_cast<HookedDialog&>(*dialog); }

    // The skill-table index of an activated-skill name (UTF-8), -1 when the tables lack it.
    int SkillIndex(const std::string& utf8Name) const;
    void ChooseSkills(const std::vector<std::string>& utf8Names);
    // Presses "検索" and lets the completion message arrive.
    void PressSearch();
    std::string Text(int id) const { return dialog->GetText(id); }
    // Checks every listed set against the condition of the last search on its own: the wanted
    // skills reached, the avoided ones not, the decorations within the slots.
    void ExpectSetsMeetTheCondition() const;
};
