#pragma once
// A concrete engine that records the drawing and text operations it is asked
// for, and test bases that put a shared printer device in place: none at all,
// or fake printers whose contexts log every call.
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "engine/TBaseReport.h"
#include "fixture/FakePrinter.h"
#include "platform/IniPrinterProfile.h"
#include "platform/RecordingDeviceContext.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace rpt::test {

inline std::string Num(double v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", v);
    return buffer;
}

class TestReport : public TBaseReport {
public:
    using TBaseReport::TBaseReport;

    std::vector<std::string> Calls;
    int32_t Kind = kOutputPrinter;
    int32_t OutputKind() const override { return Kind; }

    void PrintCenter(const std::string& t, double x) override { Log("PrintCenter", t, {x}); }
    void PrintLeft(const std::string& t, double x) override { Log("PrintLeft", t, {x}); }
    void PrintRight(const std::string& t, double x) override { Log("PrintRight", t, {x}); }
    void PrintBlock(const std::string& t, double x, double w) override {
        Log("PrintBlock", t, {x, w});
    }
    void TabRectangle(double x1, double y1, double x2, double y2) override {
        Log("TabRectangle", {}, {x1, y1, x2, y2});
    }
    void Arc(double, double, double, double, double, double, double, double) override {
        Log("Arc");
    }
    void BrushCopy(const TRect&, const TBitmap&, const TRect&, TColor) override {
        Log("BrushCopy");
    }
    void Chord(double, double, double, double, double, double, double, double) override {
        Log("Chord");
    }
    void CopyRect(const TRect&, int32_t, const TRect&) override { Log("CopyRect"); }
    void Draw(double, double, const TGraphic&) override { Log("Draw"); }
    void DrawFocusRect(const TRect&) override { Log("DrawFocusRect"); }
    void Ellipse(double, double, double, double) override { Log("Ellipse"); }
    void FillRect(const TRect&) override { Log("FillRect"); }
    void FloodFill(double, double, TColor, TFillStyle) override { Log("FloodFill"); }
    void FrameRect(const TRect&) override { Log("FrameRect"); }
    void LineTo(double x, double y) override { Log("LineTo", {}, {x, y}); }
    void MoveTo(double x, double y) override { Log("MoveTo", {}, {x, y}); }
    void Pie(double, double, double, double, double, double, double, double) override {
        Log("Pie");
    }
    void Polygon(std::span<const TPoint>) override { Log("Polygon"); }
    void Polyline(std::span<const TPoint>) override { Log("Polyline"); }
    void PrintBitmap(double, double, double, double, const TBitmap&) override {
        Log("PrintBitmap");
    }
    void PrintBitmapRect(double, double, double, double, const TBitmap&) override {
        Log("PrintBitmapRect");
    }
    void PrintImageRect(double, double, double, double, TStream&, const std::string&) override {
        Log("PrintImageRect");
    }
    void Rectangle(double, double, double, double) override { Log("Rectangle"); }
    void RoundRect(double, double, double, double, double, double) override { Log("RoundRect"); }
    void StretchDraw(const TRect&, const TGraphic&) override { Log("StretchDraw"); }
    void TextRect(const TRect&, double, double, const std::string&) override { Log("TextRect"); }
    void PrintData(const std::string&) override { Log("PrintData"); }
    void PrintDataStream(TStream&, int32_t) override { Log("PrintDataStream"); }

    bool StartFails = false;
    // Start and Finish bracket a job on the shared device, as the file printer does.
    bool UsesDevice = false;
    void Start() override {
        Log("Start");
        if (StartFails)
            throw std::runtime_error("start failed");
        if (UsesDevice) {
            SharedDevice().BeginJob();
            SharedDevice().PageBreak(true);
        }
        Printing = true;
        Aborted = false;
        CurrentPage = 0;
    }
    void Finish() override {
        Log("Finish");
        Printing = false;
        if (UsesDevice && SharedDevice().Printing())
            SharedDevice().EndJob();
    }

    void Log(const std::string& name, const std::string& text = {},
             std::initializer_list<double> values = {}) {
        std::string line = name + "(";
        bool first = true;
        if (!text.empty() || name.rfind("Print", 0) == 0) {
            line += "\"" + text + "\"";
            first = false;
        }
        for (double v : values) {
            line += (first ? "" : ", ") + Num(v);
            first = false;
        }
        Calls.push_back(line + ")");
    }
};

// Without printers: 96 DPI, letter paper.
class NoPrinterTest : public testing::Test {
protected:
    NoPrinterTest() { ReplaceSharedDevice(nullptr); }
    ~NoPrinterTest() override { ReplaceSharedDevice(nullptr); }
};

constexpr const char* kTwoPrinters = R"([DEVICES]
Laser 1=winspool,LPT1:
Mono Laser=winspool,LPT2:
[WINDOWS]
DEVICE=Laser 1,winspool,LPT1:
)";

// Fake 300 DPI letter printers with quarter-inch unprintable edges, whose
// contexts record every call. The device is shared while the test runs.
class PrinterTest : public testing::Test {
protected:
    PrinterTest()
        : Log(std::make_shared<fixture::PrinterLog>()),
          Setup(std::make_shared<fixture::FakePrinterSetup>()) {
        Setup->RecordingContexts = true;
        auto driver = std::make_unique<fixture::FakePrinterDriver>(Log, Setup);
        Driver = driver.get();
        ReplaceSharedDevice(std::make_unique<TQLDevice>(
            std::make_unique<IniPrinterProfile>(kTwoPrinters), std::move(driver)));
    }
    ~PrinterTest() override {
        if (SharedDevice().Printing())
            SharedDevice().EndJob();
        ReplaceSharedDevice(nullptr);
    }
    // Begins a device job and the engine's own, as the file printer does.
    void BeginJob(TestReport& report) {
        SharedDevice().BeginJob();
        SharedDevice().PageBreak(true);
        report.Printing = true;
        report.Aborted = false;
    }
    RecordingDeviceContext& Context() {
        return dynamic_cast<RecordingDeviceContext&>(*SharedDevice().Handle());
    }

    std::shared_ptr<fixture::PrinterLog> Log;
    std::shared_ptr<fixture::FakePrinterSetup> Setup;
    fixture::FakePrinterDriver* Driver = nullptr;
};

} // namespace rpt::test
