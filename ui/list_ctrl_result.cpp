#include "ui/list_ctrl_result.h"

CListCtrlResult::CListCtrlResult(QWidget* parent) : ui::CReportList(parent) {}
