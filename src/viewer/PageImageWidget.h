#pragma once
// The image control inside the viewer's scroll box: shows a copy of the page
// bitmap's pixels at their size. Its place is kept in the scroll box's
// content coordinates; the box moves it on screen as it scrolls.
#include "platform/ScrollBox.h"

#include <QImage>
#include <QWidget>

namespace rpt {

class PageImageWidget : public QWidget, public TImage {
public:
    // Shown inside `parent` (the scroll box's viewport), freed by `owner` or
    // by its parent, whichever goes first.
    PageImageWidget(TComponent* owner, QWidget* parent);

    int32_t Left() const override { return left_; }
    int32_t Top() const override { return top_; }
    int32_t Width() const override { return width(); }
    int32_t Height() const override { return height(); }
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetPicture(const TBitmap& bitmap) override;
    int32_t PixelsPerInchX() const override { return logicalDpiX(); }
    int32_t PixelsPerInchY() const override { return logicalDpiY(); }

    const QImage& Picture() const { return picture_; }
    // Places the widget for the scroll box's current scroll positions.
    void PlaceAt(int32_t horzPosition, int32_t vertPosition);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int32_t left_ = 0;
    int32_t top_ = 0;
    int32_t horzPosition_ = 0;
    int32_t vertPosition_ = 0;
    QImage picture_;
};

} // namespace rpt
