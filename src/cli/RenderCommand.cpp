// rpt render: plays pages through the preview exactly as the viewer shows
// them and writes each page bitmap, frame included, to a PNG file.
#include "cli/CliCommand.h"
#include "cli/PageRangeArgument.h"
#include "cli/UsageError.h"
#include "platform/Convert.h"
#include "platform/Graphics.h"
#include "platform/ImageFile.h"
#include "platform/MemoryScrollBox.h"
#include "platform/Stream.h"
#include "preview/ImageBlockDecoder.h"
#include "preview/TFilePreview.h"

#include <string>

namespace rpt::cli {

namespace {

struct RenderOptions {
    PageRange pages;
    std::string zoom = "100";
    int32_t dpi = 96;
    TRulerType rulers = rtNone;
    int32_t shadow = 0;
    double gridHoriz = 0, gridVert = 0;
    double margin = 2.5;
    TMarginMethod marginMethod = mmFixed;
    bool mono = false;
    int32_t boxWidth = 608, boxHeight = 364;
    std::string file, output;
};

[[noreturn]] void Bad(const std::string& what) { throw UsageError("render: " + what); }

int32_t WholeNumber(std::string_view option, std::string_view text, int32_t low, int32_t high) {
    auto value = TryStrToInt(text);
    if (!value || *value < low || *value > high)
        Bad("'" + std::string(text) + "' is not a valid value for " + std::string(option));
    return *value;
}

double Number(std::string_view option, std::string_view text, double low, double high) {
    auto value = TryStrToFloat(text);
    if (!value || *value < low || *value > high)
        Bad("'" + std::string(text) + "' is not a valid value for " + std::string(option));
    return *value;
}

TRulerType Rulers(std::string_view text) {
    struct Name {
        const char* text;
        TRulerType type;
    } names[] = {{"none", rtNone},    {"in", rtBothIn},  {"cm", rtBothCm}, {"hin", rtHorizIn},
                 {"vin", rtVertIn},   {"hcm", rtHorizCm}, {"vcm", rtVertCm}};
    for (const Name& n : names)
        if (text == n.text)
            return n.type;
    Bad("--rulers takes none, in, cm, hin, vin, hcm or vcm");
}

RenderOptions Parse(std::span<const std::string_view> args) {
    RenderOptions o;
    std::vector<std::string_view> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view a = args[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= args.size())
                Bad(std::string(a) + " needs a value");
            return args[++i];
        };
        if (a == "-p" || a == "--pages")
            o.pages = PageRangeArgument("render", value());
        else if (a == "-z" || a == "--zoom")
            o.zoom = std::string(value());
        else if (a == "-r" || a == "--dpi")
            o.dpi = WholeNumber(a, value(), 10, 2400);
        else if (a == "--rulers")
            o.rulers = Rulers(value());
        else if (a == "--shadow")
            o.shadow = WholeNumber(a, value(), 0, 100);
        else if (a == "--grid") {
            std::string_view g = value();
            size_t comma = g.find(',');
            o.gridHoriz = Number(a, g.substr(0, comma), 0, 100);
            o.gridVert = comma == std::string_view::npos ? o.gridHoriz
                                                          : Number(a, g.substr(comma + 1), 0, 100);
        } else if (a == "--margin")
            o.margin = Number(a, value(), 0, 100);
        else if (a == "--margin-method") {
            std::string_view m = value();
            if (m == "fixed")
                o.marginMethod = mmFixed;
            else if (m == "scaled")
                o.marginMethod = mmScaled;
            else
                Bad("--margin-method takes fixed or scaled");
        } else if (a == "--mono")
            o.mono = true;
        else if (a == "--box") {
            std::string_view b = value();
            size_t x = b.find('x');
            if (x == std::string_view::npos)
                Bad("--box takes WIDTHxHEIGHT");
            o.boxWidth = WholeNumber(a, b.substr(0, x), 50, 20000);
            o.boxHeight = WholeNumber(a, b.substr(x + 1), 50, 20000);
        } else if (a.size() > 1 && a[0] == '-')
            Bad("unknown option '" + std::string(a) + "'");
        else
            positional.push_back(a);
    }
    if (positional.size() != 2)
        Bad("expects FILE and OUTPUT");
    o.file = positional[0];
    o.output = positional[1];
    if (o.zoom != "width" && o.zoom != "page")
        Number("--zoom", o.zoom, 10, 200);
    if (o.pages.First != o.pages.Last && o.output.find("%d") == std::string::npos)
        Bad("OUTPUT must hold %d when more than one page is rendered");
    return o;
}

std::string OutputName(const std::string& pattern, int32_t page) {
    std::string name = pattern;
    for (size_t at = name.find("%d"); at != std::string::npos; at = name.find("%d", at)) {
        std::string number = IntToStr(page);
        name.replace(at, 2, number);
        at += number.size();
    }
    return name;
}

} // namespace

int RunRender(std::span<const std::string_view> args, std::FILE* out) {
    RenderOptions o = Parse(args);
    TMemoryScrollBox box(nullptr, o.boxWidth, o.boxHeight, o.dpi, o.dpi);
    TFilePreview preview(nullptr);
    preview.SetFileName(o.file);
    preview.SetStreamMode(smFile);
    preview.SetScrollBox(&box);
    preview.OnDecodeImage = DecodeImageBlock;
    preview.RulerType = o.rulers;
    preview.MarginPercent = o.margin;
    preview.MarginMethod = o.marginMethod;
    preview.GridHoriz = o.gridHoriz;
    preview.GridVert = o.gridVert;
    if (o.mono)
        preview.SetMonochrome(true);
    else
        preview.SetShadowDepth(o.shadow);
    if (o.zoom != "width" && o.zoom != "page")
        preview.SetZoomFactor(StrToFloat(o.zoom));

    // Without a page of its own the first page is played by Start; the
    // pages asked for are played again after the zoom is fitted.
    preview.Start();
    if (!preview.Printing)
        return 1;
    if (o.zoom == "width")
        preview.SetZoomFactor(-2);
    else if (o.zoom == "page")
        preview.SetZoomFactor(-1);

    int32_t last = o.pages.Last == 0 ? preview.TotalPages : o.pages.Last;
    for (int32_t page = o.pages.First; page <= last; ++page) {
        preview.PrintPage(page);
        std::string name = OutputName(o.output, preview.CurrentPage);
        SavePng(preview.PageBitmap()->Pixels(), name);
        std::fprintf(out, "%s\n", name.c_str());
        if (preview.CurrentPage < page)
            break; // past the end of the chain
    }
    preview.Finish();
    return 0;
}

} // namespace rpt::cli
