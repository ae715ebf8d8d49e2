#include "ui/list_ctrl_result_equip.h"

CListCtrlResultEquip::CListCtrlResultEquip(QWidget* parent) : ui::CReportList(parent) {}
