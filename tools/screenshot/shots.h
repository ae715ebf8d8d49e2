#pragma once

#include <functional>
#include <vector>

class CSimulatorDlg;

// One picture of the main window: its file name (without .png) and what to do to the freshly
// started window before it is taken.
struct Shot {
    const char* name;
    std::function<void(CSimulatorDlg&)> prepare;
};

std::vector<Shot> AllShots();
