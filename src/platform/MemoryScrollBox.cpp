#include "platform/MemoryScrollBox.h"

#include "platform/Graphics.h"

#include <algorithm>

namespace rpt {

TMemoryImage::TMemoryImage(TComponent* owner, int32_t dpiX, int32_t dpiY)
    : TImage(owner), dpiX_(dpiX), dpiY_(dpiY) {}

void TMemoryImage::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TMemoryImage::SetPicture(const TBitmap& bitmap) { picture_ = bitmap.Pixels(); }

TMemoryScrollBox::TMemoryScrollBox(TComponent* owner, int32_t width, int32_t height, int32_t dpiX,
                                   int32_t dpiY, int32_t border, int32_t scrollBar)
    : TScrollBox(owner), width_(width), height_(height), dpiX_(dpiX), dpiY_(dpiY),
      border_(border), scrollBar_(scrollBar) {}

// Each bar is shown when its range exceeds the extent it scrolls; the other
// bar's thickness is taken off first when that one is shown.
bool TMemoryScrollBox::HorzShown() const {
    int32_t extent = width_ - border_;
    if (vert_.Range > height_ - border_)
        extent -= scrollBar_;
    return horz_.Range > extent;
}

bool TMemoryScrollBox::VertShown() const {
    int32_t extent = height_ - border_;
    if (horz_.Range > width_ - border_)
        extent -= scrollBar_;
    return vert_.Range > extent;
}

int32_t TMemoryScrollBox::ClientWidth() const {
    return std::max(0, width_ - border_ - (VertShown() ? scrollBar_ : 0));
}

int32_t TMemoryScrollBox::ClientHeight() const {
    return std::max(0, height_ - border_ - (HorzShown() ? scrollBar_ : 0));
}

void TMemoryScrollBox::SetHorzRange(int32_t range) {
    horz_.Range = std::max(0, range);
    SetHorzPosition(horz_.Position);
}

void TMemoryScrollBox::SetVertRange(int32_t range) {
    vert_.Range = std::max(0, range);
    SetVertPosition(vert_.Position);
}

void TMemoryScrollBox::SetHorzPosition(int32_t position) {
    horz_.Position = std::clamp(position, 0, std::max(0, horz_.Range - ClientWidth()));
}

void TMemoryScrollBox::SetVertPosition(int32_t position) {
    vert_.Position = std::clamp(position, 0, std::max(0, vert_.Range - ClientHeight()));
}

TImage* TMemoryScrollBox::CreateImage(TComponent* owner) {
    return new TMemoryImage(owner ? owner : this, dpiX_, dpiY_);
}

} // namespace rpt
