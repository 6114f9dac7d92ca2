#pragma once
// Graphic objects that report files embed: bitmaps, metafiles and icons, each
// loaded from the bytes of its own file format. A graphic that cannot be
// decoded raises EInvalidGraphic; nothing is drawn from it.
#include "platform/Canvas.h"
#include "platform/Dib.h"
#include "platform/Exceptions.h"
#include "platform/Stream.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace rpt {

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

class TGraphic {
public:
    virtual ~TGraphic() = default;
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // The size that drawing at a point gives the graphic on a device of the
    // given pixels per inch. A bitmap keeps its pixel size on every device.
    virtual TSize SizeOnDevice(int32_t pixelsPerInchX, int32_t pixelsPerInchY) const;
    // Reads the graphic from the stream's position to its end.
    virtual void LoadFromStream(TStream& stream) = 0;
    // Draws the graphic scaled into the rectangle of the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
};

class RasterDeviceContext;

// A bitmap with a canvas of its own. Decodes BMP files of every bit depth,
// RLE-compressed, top-down or bottom-up, with palettes.
class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    int32_t Width() const override { return dib_.Width; }
    int32_t Height() const override { return dib_.Height; }
    void LoadFromStream(TStream& stream) override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;

    // Resizes to width by height pixels (contents white); raises
    // EOutOfResources beyond kMaxBitmapPixels.
    void SetSize(int32_t width, int32_t height);
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool value);
    // The pixels as a DIB (its own copy for monochrome bitmaps: two colours).
    const Dib& Pixels() const { return dib_; }
    Dib& MutablePixels() { return dib_; }
    // The canvas that draws into this bitmap.
    TCanvas& Canvas();
    // Copies another bitmap's pixels and flags.
    void Assign(const TBitmap& other);
    // Called after the bitmap is loaded, resized, assigned or made monochrome.
    std::function<void()> OnChange;

private:
    // Re-makes the canvas's context over new pixels and announces the change.
    void Remake();

    Dib dib_;
    bool monochrome_ = false;
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<RasterDeviceContext> context_;
};

class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// A Windows metafile: WMF (with or without the placeable header) or EMF.
// Drawing plays its records onto the canvas's device context.
class TMetafile : public TGraphic {
public:
    TMetafile();
    ~TMetafile() override;
    int32_t Width() const override;  // pixels at 96 per inch
    int32_t Height() const override;
    // The picture's own physical size at the device's resolution.
    TSize SizeOnDevice(int32_t pixelsPerInchX, int32_t pixelsPerInchY) const override;
    void LoadFromStream(TStream& stream) override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    bool Enhanced() const;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

    struct Info;

private:
    std::vector<uint8_t> bytes_;
    std::unique_ptr<Info> info_;
};

// An icon file; the largest image is used, with its transparency.
class TIcon : public TGraphic {
public:
    int32_t Width() const override { return dib_.Width; }
    int32_t Height() const override { return dib_.Height; }
    // An icon's pixels are screen pixels at 96 per inch, so a printed icon is
    // as large on paper as it looks in the preview.
    TSize SizeOnDevice(int32_t pixelsPerInchX, int32_t pixelsPerInchY) const override;
    void LoadFromStream(TStream& stream) override;
    void Draw(TCanvas& canvas, const TRect& rect) const override;
    const Dib& Pixels() const { return dib_; }

private:
    Dib dib_;
};

} // namespace rpt
