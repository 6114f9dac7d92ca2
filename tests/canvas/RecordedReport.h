#pragma once
// A canvas engine whose canvas is a recording context: tests assert the exact
// canvas calls each operation makes.
#include "canvas/TCanvasReport.h"
#include "platform/Canvas.h"
#include "platform/RecordingDeviceContext.h"

#include <string>
#include <vector>

namespace rpt::test {

class RecordedReport : public TCanvasReport {
public:
    explicit RecordedReport(int dpi = 300) : TCanvasReport(nullptr) {
        context.SetDeviceCaps(LOGPIXELSX, dpi);
        context.SetDeviceCaps(LOGPIXELSY, dpi);
        canvas.SetHandle(&context);
        XDPI = YDPI = dpi;
        DirectLines = true;
    }
    ~RecordedReport() override { canvas.SetHandle(nullptr); }

    TCanvas& GetCanvas() override { return canvas; }
    void Start() override {
        Printing = true;
        Aborted = false;
        ResetJobState();
        context.ClearLog();
    }
    void Finish() override { Printing = false; }

    // The calls of one kind, as logged.
    std::vector<std::string> Calls(const std::string& name) const { return context.Calls(name); }

    RecordingDeviceContext context;
    TCanvas canvas;
};

} // namespace rpt::test
