#pragma once
// A scroll box and image without a display: the geometry of a framed box
// with scroll bars, for the rpt tool and the tests.
#include "platform/Dib.h"
#include "platform/ScrollBox.h"

namespace rpt {

class TMemoryImage : public TImage {
public:
    TMemoryImage(TComponent* owner, int32_t dpiX, int32_t dpiY);
    int32_t Left() const override { return left_; }
    int32_t Top() const override { return top_; }
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetPicture(const TBitmap& bitmap) override;
    int32_t PixelsPerInchX() const override { return dpiX_; }
    int32_t PixelsPerInchY() const override { return dpiY_; }
    const Dib& Picture() const { return picture_; }

private:
    int32_t left_ = 0, top_ = 0, width_ = 100, height_ = 100;
    int32_t dpiX_, dpiY_;
    Dib picture_;
};

class TMemoryScrollBox : public TScrollBox {
public:
    // width and height are the outer size; border is the frame's total width
    // across (and down); scrollBar the thickness of a shown scroll bar.
    TMemoryScrollBox(TComponent* owner, int32_t width, int32_t height, int32_t dpiX = 96,
                     int32_t dpiY = 96, int32_t border = 4, int32_t scrollBar = 16);
    int32_t Width() const override { return width_; }
    int32_t Height() const override { return height_; }
    int32_t ClientWidth() const override;
    int32_t ClientHeight() const override;
    TColor Color() const override { return color_; }
    void SetColor(TColor color) { color_ = color; }
    TScrollBarState HorzScrollBar() const override { return horz_; }
    TScrollBarState VertScrollBar() const override { return vert_; }
    void SetHorzRange(int32_t range) override;
    void SetVertRange(int32_t range) override;
    void SetHorzPosition(int32_t position) override;
    void SetVertPosition(int32_t position) override;
    TImage* CreateImage(TComponent* owner) override;

private:
    bool HorzShown() const;
    bool VertShown() const;
    int32_t width_, height_, dpiX_, dpiY_, border_, scrollBar_;
    TColor color_ = clBtnFace;
    TScrollBarState horz_, vert_;
};

} // namespace rpt
