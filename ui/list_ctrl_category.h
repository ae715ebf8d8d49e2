#pragma once

#include <QPen>

#include "ui/framework/report_list.h"

// A report list whose rows carry their colour in the item data; it draws dotted column separators
// in green for rows of an activated plus skill and in gray for every other row.
class CListCtrlCategory : public ui::CReportList {
    Q_OBJECT
public:
    static constexpr std::uintptr_t kActiveColor = 0xC000; // RGB(0, 192, 0)

    explicit CListCtrlCategory(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPen m_penActive;
    QPen m_penNormal;
};
