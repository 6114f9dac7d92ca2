#include "platform/BmpDecoder.h"
#include "platform/Graphics.h"
#include "platform/RasterDeviceContext.h"

#include <algorithm>

namespace rpt {

namespace {

std::vector<uint8_t> ReadRest(TStream& stream) {
    std::vector<uint8_t> bytes(static_cast<size_t>(stream.Remaining()));
    if (!bytes.empty())
        stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

} // namespace

TSize TGraphic::SizeOnDevice(int32_t, int32_t) const {
    return {Width(), Height()};
}

TBitmap::TBitmap() = default;
TBitmap::~TBitmap() = default;

void TBitmap::LoadFromStream(TStream& stream) {
    std::vector<uint8_t> bytes = ReadRest(stream);
    DecodedBitmap decoded = DecodeBmpFile(bytes);
    dib_ = std::move(decoded.Pixels);
    dib_.HasAlpha = false;
    monochrome_ = decoded.Monochrome;
    Remake();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    if (Empty())
        return;
    canvas.Handle().StretchDIBits(rect, TRect{0, 0, dib_.Width, dib_.Height}, dib_, canvas.CopyMode);
}

void TBitmap::SetSize(int32_t width, int32_t height) {
    if (width < 0 || height < 0 || static_cast<int64_t>(width) * height > kMaxBitmapPixels)
        throw EOutOfResources("Out of system resources");
    if (width == dib_.Width && height == dib_.Height)
        return;
    // What was drawn stays where it was; new pixels are white.
    Dib resized(width, height);
    // A size of zero in either direction (a sheet that rounds to nothing)
    // keeps no pixels and holds none.
    const int32_t keepWidth = std::min(width, dib_.Width), keepHeight = std::min(height, dib_.Height);
    if (keepWidth > 0)
        for (int32_t y = 0; y < keepHeight; ++y)
            std::copy_n(dib_.Pixels.data() + static_cast<size_t>(y) * dib_.Width, keepWidth,
                        resized.Pixels.data() + static_cast<size_t>(y) * width);
    dib_ = std::move(resized);
    Remake();
}

void TBitmap::SetMonochrome(bool value) {
    if (value == monochrome_)
        return;
    monochrome_ = value;
    Remake();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_)
        canvas_ = std::make_unique<TCanvas>();
    if (!context_) {
        context_ = std::make_unique<RasterDeviceContext>(dib_, 96, 96);
        context_->SetMonochrome(monochrome_);
        canvas_->SetHandle(context_.get());
    }
    return *canvas_;
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this)
        return;
    dib_ = other.dib_;
    monochrome_ = other.monochrome_;
    Remake();
}

void TBitmap::Remake() {
    // The context paints on the pixel buffer, which a new size replaces.
    if (canvas_)
        canvas_->SetHandle(nullptr);
    context_.reset();
    if (monochrome_) {
        RasterDeviceContext reducer(dib_, 96, 96);
        reducer.ReduceToMonochrome();
    }
    if (canvas_)
        Canvas();
    if (OnChange)
        OnChange();
}

} // namespace rpt
