#pragma once
// Plays pages as the preview does onto a context that only collects text, and
// answers each page's text operations, one line each: the text after macro
// expansion with its formatting codes removed, decoded with its font's
// character set. `rpt text` is built on it, so it cannot drift from what the
// preview draws.
#include "reader/TFilePrinter.h"

#include "platform/Canvas.h"
#include "platform/TextCollectorDeviceContext.h"

#include <string>
#include <vector>

namespace rpt {

class TTextExtractor : public TFilePrinter {
public:
    explicit TTextExtractor(TComponent* owner, int32_t dpi = 96);
    ~TTextExtractor() override;

    int32_t OutputKind() const override;
    TCanvas& GetCanvas() override { return canvas_; }
    // Opens the file and reads its header; false when it cannot be opened.
    bool Open();
    void Start() override { Open(); }
    void Finish() override;
    void Execute() override { Open(); }

    // Plays page n (the nearest end of the chain for a number past it) and
    // answers its lines.
    std::vector<std::string> PageText(int32_t n);

    void PrintCenter(const std::string& text, double x) override;
    void PrintLeft(const std::string& text, double x) override;
    void PrintRight(const std::string& text, double x) override;
    void PrintBlock(const std::string& text, double x, double width) override;
    void TextRect(const TRect& rect, double x, double y, const std::string& text) override;

private:
    // Runs one text operation and keeps its line when it drew anything.
    template <typename Body> void Operation(const std::string& text, Body body);

    int32_t dpi_;
    TextCollectorDeviceContext context_;
    TCanvas canvas_;
    std::vector<std::string> lines_;
    int depth_ = 0;
};

} // namespace rpt
