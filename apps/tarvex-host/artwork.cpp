#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarvex::desktop {

namespace {

constexpr int kSize = 32;

QPixmap canvas() {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A green tick.
QIcon okImage() {
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(6, 17);
    tick.lineTo(13, 24);
    tick.lineTo(26, 8);
    p.drawPath(tick);
    return QIcon(pixmap);
}

// A red cross.
QIcon cancelImage() {
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xc6, 0x28, 0x28), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(8, 8, 24, 24);
    p.drawLine(24, 8, 8, 24);
    return QIcon(pixmap);
}

// A boundary stone with a survey mark and a coin: fees for surveying.
QIcon windowIcon() {
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x45, 0x45, 0x45), 1.5));
    p.setBrush(QColor(0xbd, 0xbd, 0xbd));
    p.drawRect(QRectF(5, 8, 14, 20));
    p.setPen(QPen(QColor(0x45, 0x45, 0x45), 2));
    p.drawLine(QPointF(12, 12), QPointF(12, 20));
    p.drawLine(QPointF(8, 16), QPointF(16, 16));
    p.setPen(QPen(QColor(0x8d, 0x6e, 0x00), 1.5));
    p.setBrush(QColor(0xff, 0xc1, 0x07));
    p.drawEllipse(QRectF(17, 4, 12, 12));
    return QIcon(pixmap);
}

}  // namespace

QIcon imageFor(const std::string& key) {
    if (key == "OK") return okImage();
    if (key == "Abbruch") return cancelImage();
    if (key == "9") return windowIcon();
    return {};
}

}  // namespace tarvex::desktop
