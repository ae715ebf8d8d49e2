#pragma once

#include <QProxyStyle>

namespace ui {

// The style of a list header whose arrow points the way the rows run: up for ascending (the
// smallest on top), down for descending. Qt's styles draw the opposite for an ascending order.
class SortArrowStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

} // namespace ui
