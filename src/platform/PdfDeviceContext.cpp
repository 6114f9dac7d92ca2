#include "platform/PdfDeviceContext.h"

#include "platform/PdfSpoolDocument.h"
#include "platform/VectorPageSurface.h"

#include <QPainter>

namespace rpt {

PdfDeviceContext::PdfDeviceContext(Kind kind, const PageGeometry& page)
    : RasterDeviceContext(Unused, page.Dpi, page.Dpi), kind_(kind), page_(page) {}

PdfDeviceContext::~PdfDeviceContext() { AttachPage(nullptr, {}); }

void PdfDeviceContext::AttachPage(QPainter* painter, const TRect& printable) {
    DrawOnPage(nullptr);
    surface_.reset();
    if (!painter)
        return;
    surface_ = std::make_unique<VectorPageSurface>(
        *painter, QRect(printable.Left, printable.Top, printable.Right - printable.Left,
                        printable.Bottom - printable.Top));
    DrawOnPage(surface_.get());
}

bool PdfDeviceContext::KeepGoing() { return !abortProc_ || abortProc_(0); }

void PdfDeviceContext::StartDoc(const std::string& title, std::unique_ptr<PrintJobSink> sink) {
    AbortDoc();
    sink->Open(title);
    sink_ = std::move(sink);
    document_ = std::make_unique<PdfSpoolDocument>(title);
    pagesStarted_ = 0;
}

void PdfDeviceContext::StartPage() {
    if (!document_)
        return;
    EndPage();
    QPainter& painter = document_->StartPage(page_);
    ++pagesStarted_;
    // Device pixel (0, 0) is the corner of the printable area, as on paper.
    AttachPage(&painter, TRect{page_.OffsetX, page_.OffsetY,
                               page_.OffsetX + page_.PrintableWidth,
                               page_.OffsetY + page_.PrintableHeight});
}

void PdfDeviceContext::EndPage() {
    AttachPage(nullptr, {});
    if (document_ && document_->PageOpen())
        document_->EndPage();
}

void PdfDeviceContext::EndDoc() {
    if (!document_)
        return;
    EndPage();
    // Both are released before delivery so that a refusal leaves no job open.
    const std::unique_ptr<PdfSpoolDocument> document = std::move(document_);
    const std::unique_ptr<PrintJobSink> sink = std::move(sink_);
    const std::string bytes = document->Finish();
    if (!bytes.empty())
        sink->Deliver(bytes, [this] { return KeepGoing(); });
}

void PdfDeviceContext::AbortDoc() {
    AttachPage(nullptr, {});
    document_.reset();
    sink_.reset();
}

int PdfDeviceContext::GetDeviceCaps(int index) const {
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZSIZE: return page_.PrintableWidth * 254 / (page_.Dpi * 10);
    case VERTSIZE: return page_.PrintableHeight * 254 / (page_.Dpi * 10);
    case HORZRES: return page_.PrintableWidth;
    case VERTRES: return page_.PrintableHeight;
    case BITSPIXEL: return 24;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    // Vector pages: no flood fill and no exact binary raster modes.
    case RASTERCAPS: return RC_BITBLT | RC_STRETCHDIB;
    case LOGPIXELSX:
    case LOGPIXELSY: return page_.Dpi;
    case PHYSICALWIDTH: return page_.PhysicalWidth;
    case PHYSICALHEIGHT: return page_.PhysicalHeight;
    case PHYSICALOFFSETX: return page_.OffsetX;
    case PHYSICALOFFSETY: return page_.OffsetY;
    default: return 0;
    }
}

int PdfDeviceContext::Escape(int code, std::string_view data) {
    if (code == PASSTHROUGH && kind_ == Kind::Device) {
        ++passthroughBlocks_;
        passthroughBytes_ += static_cast<long long>(data.size());
    }
    return 0;
}

} // namespace rpt
