#pragma once

#include "ui/framework/report_list.h"

// The set-equipment list of the main window (control 1003): the pieces of the selected set.
class CListCtrlResultEquip : public ui::CReportList {
    Q_OBJECT
public:
    explicit CListCtrlResultEquip(QWidget* parent = nullptr);
};
