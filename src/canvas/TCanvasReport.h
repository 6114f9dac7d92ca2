#pragma once
// The engine on a real canvas: every drawing and text operation converts its
// report-unit coordinates to device pixels and calls the active canvas that
// GetCanvas answers (the printer's page, or the preview's bitmap).
#include "engine/TBaseReport.h"

#include <string>

namespace rpt {

class TCanvasReport : public TBaseReport {
public:
    explicit TCanvasReport(TComponent* owner);

    void PrintCenter(const std::string& text, double x) override;
    void PrintLeft(const std::string& text, double x) override;
    void PrintRight(const std::string& text, double x) override;
    void PrintBlock(const std::string& text, double x, double width) override;

    void TabRectangle(double x1, double y1, double x2, double y2) override;
    void Arc(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
             double y4) override;
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& source,
                   TColor color) override;
    void Chord(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4) override;
    void CopyRect(const TRect& dest, int32_t canvasValue, const TRect& source) override;
    void Draw(double x, double y, const TGraphic& graphic) override;
    void DrawFocusRect(const TRect& rect) override;
    void Ellipse(double x1, double y1, double x2, double y2) override;
    void FillRect(const TRect& rect) override;
    void FloodFill(double x, double y, TColor color, TFillStyle fillStyle) override;
    void FrameRect(const TRect& rect) override;
    void LineTo(double x, double y) override;
    void MoveTo(double x, double y) override;
    void Pie(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
             double y4) override;
    void Polygon(std::span<const TPoint> points) override;
    void Polyline(std::span<const TPoint> points) override;
    void PrintBitmap(double x, double y, double scaleX, double scaleY,
                     const TBitmap& bitmap) override;
    void PrintBitmapRect(double x1, double y1, double x2, double y2,
                         const TBitmap& bitmap) override;
    void PrintImageRect(double x1, double y1, double x2, double y2, TStream& image,
                        const std::string& imageType) override;
    void Rectangle(double x1, double y1, double x2, double y2) override;
    void RoundRect(double x1, double y1, double x2, double y2, double x3, double y3) override;
    void StretchDraw(const TRect& rect, const TGraphic& graphic) override;
    void TextRect(const TRect& rect, double x, double y, const std::string& text) override;
    void PrintData(const std::string& data) override;
    void PrintDataStream(TStream& stream, int32_t count) override;
    void NewPage() override;

    // The writer behind the four text operations; align is TA_LEFT (0),
    // TA_RIGHT (2) or TA_CENTER (6).
    void WriteText(const std::string& text, unsigned align, double x);
    // Writes word so that it ends dist (zoomed report units) from CursorX,
    // filling the gap before it with blanks in the current font.
    void WriteJustifiedWord(const std::string& word, double dist);

    // The word routines of justified text; a blank is the character 32 only.
    static void NextWord(std::string& s, std::string& word);
    static void NextBlanks(std::string& s, std::string& blanks);
    static int32_t CountInnerBlanks(const std::string& s);

protected:
    // CheckPrinting, then whether output goes ahead on this page.
    bool BeginOutput();
    // Lengths (not positions) converted to pixels across and down.
    int32_t LengthToDevX(double u) const;
    int32_t LengthToDevY(double u) const;

private:
    // The outline box of Rectangle and Ellipse, placed by the pen and FrameMode.
    TRect FramedBox(double x1, double y1, double x2, double y2);
    void StretchBitmap(const TRect& dest, const TBitmap& bitmap);
    void SendRawData(const char* bytes, size_t count);
};

} // namespace rpt
