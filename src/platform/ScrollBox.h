#pragma once
// The scroll box the preview shows its page in, and the image control inside
// it. The viewer supplies widgets; tools and tests use the detached versions
// (MemoryScrollBox.h), which keep the same geometry without a display.
#include "platform/Color.h"
#include "platform/Component.h"

#include <cstdint>

namespace rpt {

class TBitmap;

// The image control that shows a page bitmap.
class TImage : public TComponent {
public:
    using TComponent::TComponent;
    virtual int32_t Left() const = 0;
    virtual int32_t Top() const = 0;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
    // Takes a copy of the bitmap's pixels.
    virtual void SetPicture(const TBitmap& bitmap) = 0;
    // The resolution of the screen the image is shown on.
    virtual int32_t PixelsPerInchX() const = 0;
    virtual int32_t PixelsPerInchY() const = 0;
};

struct TScrollBarState {
    int32_t Range = 0;
    int32_t Position = 0;
};

class TScrollBox : public TComponent {
public:
    using TComponent::TComponent;
    // Outer size, and the client size left by the border and the scroll bars
    // that the ranges make visible.
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual int32_t ClientWidth() const = 0;
    virtual int32_t ClientHeight() const = 0;
    virtual TColor Color() const = 0;

    // A scroll bar is shown while its range exceeds the client extent.
    virtual TScrollBarState HorzScrollBar() const = 0;
    virtual TScrollBarState VertScrollBar() const = 0;
    virtual void SetHorzRange(int32_t range) = 0;
    virtual void SetVertRange(int32_t range) = 0;
    // Positions are kept within 0 .. range - client extent.
    virtual void SetHorzPosition(int32_t position) = 0;
    virtual void SetVertPosition(int32_t position) = 0;

    // A new image control inside this box, owned by `owner`.
    virtual TImage* CreateImage(TComponent* owner) = 0;
};

} // namespace rpt
