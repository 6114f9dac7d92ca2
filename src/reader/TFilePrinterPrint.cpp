#include "reader/TFilePrinter.h"

#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "device/Translate.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"

#include <algorithm>

namespace rpt {

namespace {

// Ends the device job, empties the caches and closes the file however the
// job ends. On the normal path Close runs in full and may raise (a spooler
// that refuses the document); while a job error is already on its way out,
// that first error is the one the caller sees.
class PrintJobGuard {
public:
    explicit PrintJobGuard(TFilePrinter& printer) : printer_(printer) {}
    ~PrintJobGuard() {
        if (!open_)
            return;
        try {
            Close();
        } catch (const std::exception&) {
        }
    }
    PrintJobGuard(const PrintJobGuard&) = delete;
    PrintJobGuard& operator=(const PrintJobGuard&) = delete;

    void Close() {
        open_ = false;
        // The engine's half of the cleanup runs even when ending the
        // device job raises.
        struct EngineCleanup {
            TFilePrinter& printer;
            ~EngineCleanup() {
                printer.ClearFontCache();
                printer.ClearLineBuffers();
                printer.CloseStream();
                printer.Printing = false;
            }
        } engine{printer_};
        if (SharedDevice().Printing())
            SharedDevice().EndJob();
    }

private:
    TFilePrinter& printer_;
    bool open_ = true;
};

} // namespace

void TFilePrinter::Start() { PrintRange(0, 0, 0); }

void TFilePrinter::Finish() {}

void TFilePrinter::Execute() { PrintRange(0, 0, 0); }

void TFilePrinter::PrintRange(int32_t first, int32_t last, int32_t copies) {
    if (NoPrinters()) {
        UI().ShowError(Translate("No printers are defined, aborting print job."));
        return;
    }
    CheckNotPrinting();
    JobDateTime = Now();
    NextOrientation = 2;
    BusyCursor busy;
    if (!OpenStream())
        return;
    PrintJobGuard job(*this);

    ReadHeader();
    if (copies > 0)
        SetCopies(copies);
    ResetPagePosition();
    Device().Title = JobTitle;
    Printing = true;
    Aborted = false;
    Device().BeginJob();
    // The job's context may differ from the one measured before: another
    // printer chosen, or the paper the header asked for.
    ReadDeviceMetrics();
    ResetJobState();

    // Page numbers below 1 are never selected: the range starts at page 1.
    const int32_t from = std::max(first, 1);
    const int32_t to = (last < 1 || last >= TotalPages) ? TotalPages : last;
    const bool reverse = UpperCaseAscii(PageSelection).find('R') != std::string::npos;
    auto playPage = [this](int32_t page) {
        SkipPage = !(PageSelected(page) && !Aborted);
        Device().PageBreak(!SkipPage);
        // A page break applies changed settings (command 87's orientation):
        // the page is laid out on the paper as it now lies.
        ReadDeviceMetrics();
        UI().ProcessMessages();
        PrintPage(page);
        CurrentPage = page;
        UI().ProcessMessages();
    };
    if (reverse)
        for (int32_t page = to; page >= from; --page)
            playPage(page);
    else
        for (int32_t page = from; page <= to; ++page)
            playPage(page);
    job.Close();
}

} // namespace rpt
