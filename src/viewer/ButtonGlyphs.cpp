#include "viewer/ButtonGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

namespace rpt {

namespace {

const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kGlass(200, 230, 255);
const QColor kArrow(0, 0, 160);
const QColor kDoor(160, 96, 32);
const QColor kExit(200, 0, 0);

void Magnifier(QPainter& p, bool plus) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kGlass);
    p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
    p.setPen(QPen(kInk, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    p.setPen(QPen(kInk, 1.4));
    p.drawLine(QPointF(3.8, 6), QPointF(8.2, 6));
    if (plus)
        p.drawLine(QPointF(6, 3.8), QPointF(6, 8.2));
}

void Sheet(QPainter& p, const QRectF& sheet) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(sheet);
}

void PageWidth(QPainter& p) {
    Sheet(p, QRectF(2.5, 0.5, 11, 15));
    p.setPen(QPen(kArrow, 1.3));
    p.drawLine(QPointF(4, 8), QPointF(12, 8));
    p.setBrush(kArrow);
    p.drawPolygon(QPolygonF({QPointF(3.5, 8), QPointF(6, 5.5), QPointF(6, 10.5)}));
    p.drawPolygon(QPolygonF({QPointF(12.5, 8), QPointF(10, 5.5), QPointF(10, 10.5)}));
}

void WholePage(QPainter& p) {
    Sheet(p, QRectF(3.5, 1.5, 9, 13));
    p.setPen(QPen(QColor(96, 96, 96), 1));
    for (double y = 4.5; y < 13; y += 2)
        p.drawLine(QPointF(5.5, y), QPointF(10.5, y));
}

void Arrow(QPainter& p, bool left) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kArrow);
    if (left)
        p.drawPolygon(QPolygonF({QPointF(3.5, 8), QPointF(11.5, 2.5), QPointF(11.5, 13.5)}));
    else
        p.drawPolygon(QPolygonF({QPointF(12.5, 8), QPointF(4.5, 2.5), QPointF(4.5, 13.5)}));
}

void Printer(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(192, 192, 192));
    p.drawRect(QRectF(1.5, 6.5, 13, 6));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 10.5, 7, 4));
    p.setPen(QPen(QColor(0, 160, 0), 1));
    p.drawPoint(QPointF(12.5, 8.5));
}

void Exit(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kDoor);
    p.drawRect(QRectF(1.5, 1.5, 8, 13));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(6.8, 7.3, 1.4, 1.4));
    p.setPen(QPen(kExit, 1.6));
    p.drawLine(QPointF(8, 8), QPointF(13.5, 8));
    p.setBrush(kExit);
    p.setPen(QPen(kExit, 1));
    p.drawPolygon(QPolygonF({QPointF(15, 8), QPointF(11.5, 5), QPointF(11.5, 11)}));
}

} // namespace

QImage DrawGlyph(Glyph glyph, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (glyph) {
    case Glyph::ZoomIn: Magnifier(p, true); break;
    case Glyph::ZoomOut: Magnifier(p, false); break;
    case Glyph::ZoomPageWidth: PageWidth(p); break;
    case Glyph::ZoomPage: WholePage(p); break;
    case Glyph::PrevPage: Arrow(p, true); break;
    case Glyph::NextPage: Arrow(p, false); break;
    case Glyph::Print: Printer(p); break;
    case Glyph::Done: Exit(p); break;
    }
    return image;
}

QImage DisabledLook(const QImage& normal) {
    const QImage source = normal.convertToFormat(QImage::Format_ARGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    const int w = source.width(), h = source.height();
    const int offset = std::max(1, w / 16);
    auto covered = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return false;
        const QRgb pixel = source.pixel(x, y);
        return qAlpha(pixel) >= 128 && qGray(pixel) < 200;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (covered(x, y))
                result.setPixel(x, y, qRgb(128, 128, 128));
            else if (covered(x - offset, y - offset))
                result.setPixel(x, y, qRgb(255, 255, 255));
        }
    return result;
}

QIcon GlyphIcon(Glyph glyph) {
    QIcon icon;
    for (int size : {16, 32}) {
        const QImage normal = DrawGlyph(glyph, size);
        icon.addPixmap(QPixmap::fromImage(normal), QIcon::Normal);
        icon.addPixmap(QPixmap::fromImage(DisabledLook(normal)), QIcon::Disabled);
    }
    return icon;
}

} // namespace rpt
