#pragma once

#include "ui/framework/report_list.h"

// What a CListCtrlEx tells its dialog.
class CListCtrlExOwner {
public:
    virtual void RecalcTotals() = 0;

protected:
    ~CListCtrlExOwner() = default;
};

// A report list that asks its owner to recalculate when a row becomes selected or a row's item
// data changes, unless the owner is loading rows in bulk (m_bNoNotify).
class CListCtrlEx : public ui::CReportList {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    CListCtrlExOwner* m_pOwner = nullptr;
    std::int32_t m_bNoNotify = 0;

private:
    void OnItemChanged(const ItemChange& change);
};
