#pragma once

#include <functional>
#include <memory>
#include <vector>

class CSimulatorDlg;

namespace ui {
class CTemplateDialog;
}

// One picture: its file name (without .png) and what to do to the freshly started main window
// before it is taken. A shot of a side dialog also builds that dialog over the prepared window;
// the picture is then of the side dialog alone.
struct Shot {
    const char* name;
    std::function<void(CSimulatorDlg&)> prepare;
    std::function<std::unique_ptr<ui::CTemplateDialog>(CSimulatorDlg&)> sideDialog = nullptr;
};

std::vector<Shot> AllShots();
