#include "preview/TTextExtractor.h"

#include "engine/FormattedText.h"
#include "platform/DateTime.h"
#include "platform/TextCodec.h"

namespace rpt {

namespace {

std::string WithoutCodes(const std::string& text) {
    if (text.find(kBlockStart) == std::string::npos)
        return text;
    std::string plain, run, codes;
    int32_t pos = 1;
    while (pos <= static_cast<int32_t>(text.size())) {
        SplitRun(text, pos, run, codes);
        plain += run;
    }
    return plain;
}

} // namespace

TTextExtractor::TTextExtractor(TComponent* owner, int32_t dpi)
    : TFilePrinter(owner), dpi_(dpi), context_(dpi, dpi * 17 / 2, dpi * 11) {
    canvas_.SetHandle(&context_);
    canvas_.Font().SetPixelsPerInch(dpi);
}

TTextExtractor::~TTextExtractor() {
    Finish();
    canvas_.SetHandle(nullptr);
}

int32_t TTextExtractor::OutputKind() const { return kOutputPreview; }

bool TTextExtractor::Open() {
    if (Printing)
        return true;
    JobDateTime = Now();
    XDPI = YDPI = dpi_;
    if (!OpenStream())
        return false;
    ReadHeader();
    ResetPagePosition();
    Printing = true;
    Aborted = false;
    return true;
}

void TTextExtractor::Finish() {
    if (!Printing)
        return;
    Printing = false;
    CloseStream();
}

std::vector<std::string> TTextExtractor::PageText(int32_t n) {
    lines_.clear();
    struct PageCaches {
        TTextExtractor& extractor;
        ~PageCaches() {
            extractor.ClearFontCache();
            extractor.ClearLineBuffers();
        }
    } caches{*this};
    PrintPage(n);
    return std::move(lines_);
}

template <typename Body> void TTextExtractor::Operation(const std::string& text, Body body) {
    const size_t before = context_.Texts().size();
    ++depth_;
    struct Depth {
        int& depth;
        ~Depth() { --depth; }
    } depth{depth_};
    body();
    if (depth_ == 1 && context_.Texts().size() > before)
        lines_.push_back(DecodeToUtf8(WithoutCodes(text), FontRecord.Charset));
    if (depth_ == 1)
        context_.Clear();
}

void TTextExtractor::PrintCenter(const std::string& text, double x) {
    Operation(text, [&] { TFilePrinter::PrintCenter(text, x); });
}
void TTextExtractor::PrintLeft(const std::string& text, double x) {
    Operation(text, [&] { TFilePrinter::PrintLeft(text, x); });
}
void TTextExtractor::PrintRight(const std::string& text, double x) {
    Operation(text, [&] { TFilePrinter::PrintRight(text, x); });
}
void TTextExtractor::PrintBlock(const std::string& text, double x, double width) {
    Operation(text, [&] { TFilePrinter::PrintBlock(text, x, width); });
}
void TTextExtractor::TextRect(const TRect& rect, double x, double y, const std::string& text) {
    Operation(text, [&] { TFilePrinter::TextRect(rect, x, y, text); });
}

} // namespace rpt
