#include "viewer/PageImageWidget.h"

#include "platform/Graphics.h"

#include <QPainter>

#include <algorithm>

namespace rpt {

PageImageWidget::PageImageWidget(TComponent* owner, QWidget* parent)
    : QWidget(parent), TImage(owner) {
    setObjectName(QStringLiteral("PageImage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QWidget::setGeometry(0, 0, 100, 100);
    show();
}

void PageImageWidget::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    left_ = left;
    top_ = top;
    resize(std::max(0, width), std::max(0, height));
    PlaceAt(horzPosition_, vertPosition_);
}

void PageImageWidget::PlaceAt(int32_t horzPosition, int32_t vertPosition) {
    horzPosition_ = horzPosition;
    vertPosition_ = vertPosition;
    move(left_ - horzPosition, top_ - vertPosition);
}

void PageImageWidget::SetPicture(const TBitmap& bitmap) {
    const Dib& dib = bitmap.Pixels();
    if (dib.Empty()) {
        picture_ = QImage();
    } else {
        picture_ = QImage(dib.Width, dib.Height, QImage::Format_RGB32);
        for (int32_t y = 0; y < dib.Height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(picture_.scanLine(y));
            const uint32_t* source = dib.Pixels.data() + static_cast<size_t>(y) * dib.Width;
            for (int32_t x = 0; x < dib.Width; ++x)
                row[x] = source[x] | 0xFF000000u;
        }
    }
    update();
}

void PageImageWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!picture_.isNull())
        painter.drawImage(QPoint(0, 0), picture_);
}

} // namespace rpt
