#pragma once
// A page of a vector device (a PDF page) for the raster backend to draw on,
// so that paper and screen come from the same drawing code. Each drawing
// step writes its pixels into a scratch band over the step's box (reading
// paper white where the step has not drawn) and the band is put on the page
// as filled areas of one colour each, or as an image where a step paints
// many colours; text goes to the page's painter and stays text. Steps write
// their rows from top to bottom; a band holds at most kBandRows of them.
#include <QColor>
#include <QRect>
#include <QTransform>

#include <cstdint>
#include <vector>

class QPainter;

namespace rpt {

class VectorPageSurface {
public:
    static constexpr int kBandRows = 128;

    // The painter draws in device pixels from the paper's corner; device
    // pixel (0, 0) of the surface is the printable area's corner.
    VectorPageSurface(QPainter& painter, const QRect& printable);
    ~VectorPageSurface();
    VectorPageSurface(const VectorPageSurface&) = delete;
    VectorPageSurface& operator=(const VectorPageSurface&) = delete;

    int Width() const { return printable_.width(); }
    int Height() const { return printable_.height(); }

    // A drawing step over the box (surface pixels, inside the surface).
    void BeginStep(const QRect& box);
    // The pixel 0xAARRGGBB at (x, y) of the step's box; unwritten pixels
    // read as paper white with no alpha, written ones carry alpha 0xFF.
    uint32_t& Pixel(int x, int y);
    void EndStep();

    // The page's painter with the surface's origin and clip, for text and
    // transformed images; the caller saves and restores its state, and
    // composes any transform of its own with Origin.
    QPainter& Painter();
    QTransform Origin() const;

private:
    void StartBand(int top);
    void FlushBand();
    void FillRuns(QRgb colour);

    QPainter& painter_;
    QRect printable_;
    QRect step_;
    int bandTop_ = 0;
    int bandRows_ = 0;
    std::vector<uint32_t> band_;
    uint32_t discard_ = 0;
};

// Ends the step however the drawing code leaves it.
class VectorPageStep {
public:
    VectorPageStep(VectorPageSurface* surface, const QRect& box) : surface_(surface) {
        if (surface_)
            surface_->BeginStep(box);
    }
    ~VectorPageStep() {
        if (surface_)
            surface_->EndStep();
    }
    VectorPageStep(const VectorPageStep&) = delete;
    VectorPageStep& operator=(const VectorPageStep&) = delete;

private:
    VectorPageSurface* surface_;
};

} // namespace rpt
