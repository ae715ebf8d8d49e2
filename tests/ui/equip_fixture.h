#pragma once

#include <string>

#include "ui/list_ctrl_equip.h"
#include "ui_fixture.h"

// A started main window over tables made for the equipment dialogs: pieces of either sex and
// weapon type, a body-doubling waist, decorations of each tier and size, and pieces with no, three
// and broken material lists.
class EquipWindowTest : public MainWindowTest {
protected:
    void SetUp() override;

    CEquipData* Piece(int slot, const std::string& utf8Name) const;

    // Selects the row whose name column (2) reads `utf8Name`.
    static void SelectByName(ui::CReportList& list, const std::string& utf8Name);
};
