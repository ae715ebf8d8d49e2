#pragma once

#include "ui/framework/report_list.h"

// The result list of the main window (control 1012): an owner-data list of result sets.
class CListCtrlResult : public ui::CReportList {
    Q_OBJECT
public:
    explicit CListCtrlResult(QWidget* parent = nullptr);
};
