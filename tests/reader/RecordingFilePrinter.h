#pragma once
// A file printer whose drawing and text operations write one readable line
// each instead of drawing, on a canvas of its own, so playback tests can check
// which operation each command reached with which arguments.
#include "fixture/ReportWriter.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Stream.h"
#include "platform/UserInterface.h"
#include "reader/TFilePrinter.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace rpt::testing {

inline std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

inline std::string Str(const TRect& r) {
    return "[" + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
           std::to_string(r.Right) + "," + std::to_string(r.Bottom) + "]";
}

class RecordingFilePrinter : public TFilePrinter {
public:
    RecordingFilePrinter() : TFilePrinter(nullptr) {
        XDPI = 100;
        YDPI = 100;
    }

    // Opens the bytes as an owner-supplied stream and reads the header, as
    // a job does before its first page.
    void Load(std::vector<uint8_t> bytes) {
        input_ = std::make_unique<TMemoryStream>(std::move(bytes));
        Stream = input_.get();
        SetStreamMode(smUser);
        ReadHeader();
        ResetPagePosition();
        Printing = true;
    }
    TMemoryStream& Input() { return *input_; }

    std::vector<std::string> Calls;
    // TextWidth answers this many inches per character per device pixel of
    // font height, so the width fitting can be followed exactly.
    double WidthPerCharPixel = 0.001;

    TCanvas& GetCanvas() override { return canvas_; }
    double TextWidth(const std::string& text) override {
        const int32_t px = std::abs(canvas_.Font().Height());
        return double(text.size()) * px * WidthPerCharPixel * ZoomFactor / 100;
    }

    void PrintCenter(const std::string& t, double x) override { Log("PrintCenter(" + t + "," + Num(x) + ") y=" + Num(CursorY)); }
    void PrintLeft(const std::string& t, double x) override { Log("PrintLeft(" + t + "," + Num(x) + ") y=" + Num(CursorY)); }
    void PrintRight(const std::string& t, double x) override { Log("PrintRight(" + t + "," + Num(x) + ") y=" + Num(CursorY)); }
    void PrintBlock(const std::string& t, double x, double w) override {
        Log("PrintBlock(" + t + "," + Num(x) + "," + Num(w) + ") y=" + Num(CursorY));
    }
    void TabRectangle(double a, double b, double c, double d) override { Log("TabRectangle" + N4(a, b, c, d)); }
    void Arc(double a, double b, double c, double d, double e, double f, double g, double h) override {
        Log("Arc" + N4(a, b, c, d) + N4(e, f, g, h));
    }
    void BrushCopy(const TRect& d, const TBitmap& bm, const TRect& s, TColor c) override {
        Log("BrushCopy(" + Str(d) + "," + Size(bm) + "," + Str(s) + "," + std::to_string(c) + ")");
    }
    void Chord(double a, double b, double c, double d, double e, double f, double g, double h) override {
        Log("Chord" + N4(a, b, c, d) + N4(e, f, g, h));
    }
    void CopyRect(const TRect& d, int32_t v, const TRect& s) override {
        Log("CopyRect(" + Str(d) + "," + std::to_string(v) + "," + Str(s) + ")");
    }
    void Draw(double x, double y, const TGraphic& g) override { Log("Draw(" + Num(x) + "," + Num(y) + "," + Size(g) + ")"); }
    void DrawFocusRect(const TRect& r) override { Log("DrawFocusRect" + Str(r)); }
    void Ellipse(double a, double b, double c, double d) override { Log("Ellipse" + N4(a, b, c, d)); }
    void FillRect(const TRect& r) override { Log("FillRect" + Str(r)); }
    void FloodFill(double x, double y, TColor c, TFillStyle f) override {
        Log("FloodFill(" + Num(x) + "," + Num(y) + "," + std::to_string(c) + "," + std::to_string(int(f)) + ")");
    }
    void FrameRect(const TRect& r) override { Log("FrameRect" + Str(r)); }
    void LineTo(double x, double y) override { Log("LineTo(" + Num(x) + "," + Num(y) + ")"); }
    void MoveTo(double x, double y) override { Log("MoveTo(" + Num(x) + "," + Num(y) + ")"); }
    void Pie(double a, double b, double c, double d, double e, double f, double g, double h) override {
        Log("Pie" + N4(a, b, c, d) + N4(e, f, g, h));
    }
    void Polygon(std::span<const TPoint> p) override { Log("Polygon" + Pts(p)); }
    void Polyline(std::span<const TPoint> p) override { Log("Polyline" + Pts(p)); }
    void PrintBitmap(double x, double y, double sx, double sy, const TBitmap& b) override {
        Log("PrintBitmap(" + Num(x) + "," + Num(y) + "," + Num(sx) + "," + Num(sy) + "," + Size(b) + ")");
    }
    void PrintBitmapRect(double a, double b, double c, double d, const TBitmap& bm) override {
        Log("PrintBitmapRect" + N4(a, b, c, d) + Size(bm));
    }
    void PrintImageRect(double a, double b, double c, double d, TStream& image, const std::string& type) override {
        Log("PrintImageRect" + N4(a, b, c, d) + std::to_string(image.Size()) + "@" + std::to_string(image.Position()) + "," + type);
    }
    void Rectangle(double a, double b, double c, double d) override { Log("Rectangle" + N4(a, b, c, d)); }
    void RoundRect(double a, double b, double c, double d, double e, double f) override {
        Log("RoundRect" + N4(a, b, c, d) + "(" + Num(e) + "," + Num(f) + ")");
    }
    void StretchDraw(const TRect& r, const TGraphic& g) override { Log("StretchDraw(" + Str(r) + "," + Size(g) + ")"); }
    void TextRect(const TRect& r, double x, double y, const std::string& t) override {
        Log("TextRect(" + Str(r) + "," + Num(x) + "," + Num(y) + "," + t + ")");
    }
    void PrintData(const std::string& d) override { Log("PrintData(" + d + ")"); }
    void PrintDataStream(TStream& s, int32_t count) override {
        std::string bytes(static_cast<size_t>(count), '\0');
        s.ReadBuffer(bytes.data(), count);
        Log("PrintDataStream(" + bytes + ")");
    }
    void SetBackMode(uint8_t m) override { Log("SetBackMode(" + std::to_string(m) + ")"); }
    TColor SetBackColor(TColor c) override {
        Log("SetBackColor(" + std::to_string(c) + ")");
        return 0;
    }
    void SetFrameMode(uint8_t m) override { Log("SetFrameMode(" + std::to_string(m) + ")"); }
    void SetOrientation(uint8_t o) override {
        Log("SetOrientation(" + std::to_string(o) + ")");
        Orientation = o;
    }
    bool SelectBin(const std::string& name) override {
        Log("SelectBin(" + name + ")");
        return true;
    }
    void OutputToPreviewOnly() override { Log("OutputToPreviewOnly"); }
    void OutputToPrinterOnly() override { Log("OutputToPrinterOnly"); }
    void OutputToBoth() override { Log("OutputToBoth"); }

private:
    void Log(std::string line) { Calls.push_back(std::move(line)); }
    static std::string N4(double a, double b, double c, double d) {
        return "(" + Num(a) + "," + Num(b) + "," + Num(c) + "," + Num(d) + ")";
    }
    static std::string Size(const TGraphic& g) {
        return std::to_string(g.Width()) + "x" + std::to_string(g.Height());
    }
    static std::string Pts(std::span<const TPoint> points) {
        std::string s = "(";
        for (const TPoint& p : points)
            s += "[" + std::to_string(p.X) + "," + std::to_string(p.Y) + "]";
        return s + ")";
    }

    std::unique_ptr<TMemoryStream> input_;
    TCanvas canvas_;
};

// Keeps the boxes the reader shows, for the life of the test.
class RecordingUserInterface : public UserInterface {
public:
    std::vector<std::string> Errors;
    void ShowMessage(const std::string& text) override { Errors.push_back(text); }
    void ShowError(const std::string& text) override { Errors.push_back(text); }
    void ProcessMessages() override {}
    TCursor Cursor() const override { return TCursor::crDefault; }
    void SetCursor(TCursor) override {}
};

class ScopedUserInterface {
public:
    ScopedUserInterface() {
        auto ui = std::make_unique<RecordingUserInterface>();
        ui_ = ui.get();
        previous_ = SetUserInterface(std::move(ui));
    }
    ~ScopedUserInterface() { SetUserInterface(std::move(previous_)); }
    RecordingUserInterface& operator*() { return *ui_; }
    RecordingUserInterface* operator->() { return ui_; }

private:
    RecordingUserInterface* ui_;
    std::unique_ptr<UserInterface> previous_;
};

} // namespace rpt::testing
