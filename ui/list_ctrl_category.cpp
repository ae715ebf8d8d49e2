#include "ui/list_ctrl_category.h"

#include <QPainter>

CListCtrlCategory::CListCtrlCategory(QWidget* parent)
    : ui::CReportList(parent), m_penActive(QColor(0, 255, 0), 1, Qt::DotLine),
      m_penNormal(QColor(160, 160, 160), 1, Qt::DotLine) {}

void CListCtrlCategory::paintEvent(QPaintEvent* event) {
    ui::CReportList::paintEvent(event);
    const int rows = GetItemCount();
    const int columns = GetColumnCount();
    if (rows == 0 || columns < 2) {
        return;
    }
    QPainter painter(viewport());
    const int first = std::max(rowAt(0), 0);
    const int last = rowAt(viewport()->height() - 1);
    const int end = last < 0 ? rows - 1 : last;
    for (int row = first; row <= end; ++row) {
        painter.setPen(GetItemData(row) == kActiveColor ? m_penActive : m_penNormal);
        for (int column = 1; column < columns; ++column) {
            const QRect bounds = SubItemRect(row, column);
            painter.drawLine(bounds.left(), bounds.top(), bounds.left(), bounds.bottom());
        }
    }
}
