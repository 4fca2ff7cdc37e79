#include "PictureIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "qlmib/ui/ImageList.h"

namespace qlmib::ui::qt {
namespace {

constexpr int kSize = 16;

void drawFolder(QPainter& p, bool open, bool gray) {
    p.setPen(gray ? QColor(0x70, 0x70, 0x70) : QColor(0x9a, 0x7a, 0x1c));
    p.setBrush(gray ? QColor(0xc8, 0xc8, 0xc8) : QColor(0xf3, 0xc9, 0x4c));
    p.drawRect(1, 3, 6, 2);
    if (open) {
        p.drawRect(1, 4, 12, 9);
        p.setBrush(QColor(0xfa, 0xe0, 0x8a));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    } else {
        p.drawRect(1, 4, 13, 9);
    }
}

void drawArrow(QPainter& p) {
    p.setPen(QColor(0x1f, 0x4e, 0x8c));
    p.setBrush(QColor(0x42, 0x85, 0xf4));
    p.drawPolygon(QPolygon({QPoint(2, 6), QPoint(8, 6), QPoint(8, 2), QPoint(14, 8), QPoint(8, 14), QPoint(8, 10),
                            QPoint(2, 10)}));
}

void drawLeaf(QPainter& p) {
    p.setPen(QColor(0x55, 0x55, 0x55));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygon({QPoint(3, 1), QPoint(10, 1), QPoint(13, 4), QPoint(13, 14), QPoint(3, 14)}));
    p.setPen(QColor(0x2e, 0x7d, 0x32));
    for (int y = 5; y <= 11; y += 3) p.drawLine(5, y, 11, y);
}

void drawTable(QPainter& p) {
    p.setPen(QColor(0x1f, 0x4e, 0x8c));
    p.setBrush(Qt::white);
    p.drawRect(1, 2, 13, 11);
    p.fillRect(2, 3, 12, 3, QColor(0x7f, 0xa7, 0xd9));
    p.drawLine(1, 6, 14, 6);
    p.drawLine(1, 9, 14, 9);
    p.drawLine(6, 2, 6, 13);
    p.drawLine(10, 2, 10, 13);
}

void drawKey(QPainter& p) {
    p.setPen(QPen(QColor(0x8a, 0x6d, 0x00), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(5, 8), 3, 3);
    p.drawLine(8, 8, 14, 8);
    p.drawLine(12, 8, 12, 11);
    p.drawLine(14, 8, 14, 11);
}

void drawTrap(QPainter& p) {
    p.setPen(QColor(0x9e, 0x1b, 0x1b));
    p.setBrush(QColor(0xf4, 0x43, 0x36));
    p.drawPolygon(QPolygon({QPoint(9, 1), QPoint(3, 9), QPoint(7, 9), QPoint(5, 15), QPoint(13, 6),
                            QPoint(9, 6), QPoint(11, 1)}));
}

}  // namespace

QIcon PictureIcon(const Picture& picture) {
    if (!picture.Bytes.empty()) {
        QPixmap pixmap;
        if (!pixmap.loadFromData(reinterpret_cast<const uchar*>(picture.Bytes.data()),
                                 static_cast<uint>(picture.Bytes.size())))
            return {};
        return QIcon(pixmap);
    }
    const auto& name = picture.StockName;
    void (*draw)(QPainter&) = nullptr;
    if (name == "folder-closed") draw = [](QPainter& p) { drawFolder(p, false, false); };
    else if (name == "folder-open") draw = [](QPainter& p) { drawFolder(p, true, false); };
    else if (name == "folder-gray") draw = [](QPainter& p) { drawFolder(p, false, true); };
    else if (name == "arrow") draw = drawArrow;
    else if (name == "leaf") draw = drawLeaf;
    else if (name == "table") draw = drawTable;
    else if (name == "key") draw = drawKey;
    else if (name == "trap") draw = drawTrap;
    if (!draw) return {};
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

}  // namespace qlmib::ui::qt
