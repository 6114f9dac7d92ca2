#pragma once
// The context of a printer whose pages are spooled as PDF. As an
// information context it answers the printer's metrics and measures text;
// as a device context it also carries one print job: StartDoc opens the
// job's destination, each StartPage starts a PDF page in the geometry the
// context holds at that moment, and EndDoc delivers the document. Drawing
// is the raster backend's own code, on a vector page surface, so paper and
// screen agree to the pixel; nothing is drawn outside an open page.
//
// Raw printer data (Escape PASSTHROUGH) cannot be part of a PDF document:
// it is not embedded, so it can never corrupt the document, and the context
// counts the blocks and bytes it was given instead.
#include "platform/PageGeometry.h"
#include "platform/PrintJobSink.h"
#include "platform/RasterDeviceContext.h"

#include <functional>
#include <memory>
#include <string>

class QPainter;

namespace rpt {

class PdfSpoolDocument;
class VectorPageSurface;

// The raster backend draws on the page; its own bitmap stays empty.
struct PdfDeviceContextBitmap {
    Dib Unused;
};

class PdfDeviceContext : private PdfDeviceContextBitmap, public RasterDeviceContext {
public:
    enum class Kind { Information, Device };
    PdfDeviceContext(Kind kind, const PageGeometry& page);
    ~PdfDeviceContext() override;

    Kind ContextKind() const { return kind_; }
    const PageGeometry& Page() const { return page_; }
    // The geometry of the next page started (ResetDC between pages).
    void SetPage(const PageGeometry& page) { page_ = page; }

    void SetAbortProc(std::function<bool(int)> proc) { abortProc_ = std::move(proc); }
    // Asks the abort procedure, when there is one, whether the job goes on.
    bool KeepGoing();

    // Raises EPrintError when the sink cannot take the job.
    void StartDoc(const std::string& title, std::unique_ptr<PrintJobSink> sink);
    bool DocumentOpen() const { return document_ != nullptr; }
    void StartPage();
    void EndPage();
    // Delivers the document (nothing when no page was made); raises
    // EPrintError when the destination refuses it.
    void EndDoc();
    void AbortDoc();
    int PagesStarted() const { return pagesStarted_; }

    int PassthroughBlocks() const { return passthroughBlocks_; }
    long long PassthroughBytes() const { return passthroughBytes_; }

    int GetDeviceCaps(int index) const override;
    int Escape(int code, std::string_view data) override;

private:
    // Draws on the page's painter from now on (null: on nothing), with
    // device pixel (0, 0) at the printable area's corner.
    void AttachPage(QPainter* painter, const TRect& printable);

    Kind kind_;
    PageGeometry page_;
    std::function<bool(int)> abortProc_;
    std::unique_ptr<PrintJobSink> sink_;
    std::unique_ptr<PdfSpoolDocument> document_;
    std::unique_ptr<VectorPageSurface> surface_;
    int pagesStarted_ = 0;
    int passthroughBlocks_ = 0;
    long long passthroughBytes_ = 0;
};

} // namespace rpt
