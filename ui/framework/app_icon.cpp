#include "ui/framework/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace ui {
namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A shield with a helmet slit: the program builds armour sets.
    QPainterPath shield;
    shield.moveTo(s * 0.5, s * 0.04);
    shield.lineTo(s * 0.92, s * 0.18);
    shield.cubicTo(s * 0.92, s * 0.62, s * 0.72, s * 0.84, s * 0.5, s * 0.96);
    shield.cubicTo(s * 0.28, s * 0.84, s * 0.08, s * 0.62, s * 0.08, s * 0.18);
    shield.closeSubpath();
    painter.fillPath(shield, QColor(40, 70, 140));
    painter.setPen(QPen(QColor(220, 200, 120), s / 16));
    painter.drawPath(shield);
    painter.fillRect(QRectF(s * 0.26, s * 0.36, s * 0.48, s * 0.1), QColor(230, 230, 240));
    painter.fillRect(QRectF(s * 0.45, s * 0.46, s * 0.1, s * 0.3), QColor(230, 230, 240));
    return pixmap;
}

} // namespace

QIcon LoadAppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}

} // namespace ui
