#include "ui/framework/sort_arrow_style.h"

#include <QStyleOptionHeader>

namespace ui {

void SortArrowStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    if (element != PE_IndicatorHeaderArrow || header == nullptr ||
        header->sortIndicator == QStyleOptionHeader::None) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    QStyleOptionHeader flipped = *header;
    flipped.sortIndicator = header->sortIndicator == QStyleOptionHeader::SortUp
                                ? QStyleOptionHeader::SortDown
                                : QStyleOptionHeader::SortUp;
    QProxyStyle::drawPrimitive(element, &flipped, painter, widget);
}

} // namespace ui
