#pragma once
// The scroll box the preview shows its page in. The scroll ranges are the
// extent of the content, as the preview sets them; a bar is shown while its
// range exceeds the client extent, and the client size follows at once, so
// the preview can measure the bars by setting ranges.
#include "platform/ScrollBox.h"

#include <QAbstractScrollArea>

#include <functional>

namespace rpt {

class PageImageWidget;

class ScrollBoxWidget : public QAbstractScrollArea, public TScrollBox {
public:
    ScrollBoxWidget(TComponent* owner, QWidget* parent);

    int32_t Width() const override { return width(); }
    int32_t Height() const override { return height(); }
    int32_t ClientWidth() const override;
    int32_t ClientHeight() const override;
    TColor Color() const override;

    TScrollBarState HorzScrollBar() const override;
    TScrollBarState VertScrollBar() const override;
    void SetHorzRange(int32_t range) override;
    void SetVertRange(int32_t range) override;
    void SetHorzPosition(int32_t position) override;
    void SetVertPosition(int32_t position) override;
    TImage* CreateImage(TComponent* owner) override;

    // Called with the wheel's steps (positive away from the user) when the
    // wheel turns with Ctrl held; the wheel alone scrolls.
    std::function<void(int steps)> OnZoomWheel;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    int32_t Border() const;
    int32_t BarThickness() const;
    bool HorzShown() const;
    bool VertShown() const;
    // Shows or hides the bars and sets their limits for the ranges and size.
    void UpdateBars();
    void PlaceImages();

    int32_t horzRange_ = 0;
    int32_t vertRange_ = 0;
    int wheelRemainder_ = 0;
};

} // namespace rpt
