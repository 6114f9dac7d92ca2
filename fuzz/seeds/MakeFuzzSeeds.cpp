// Writes the seed corpus of the fuzz targets into a folder: reports of every
// format version with every command, graphics of each kind embedded, the
// malformed chains the reader must refuse, metafiles of both formats, and
// bitmaps of every depth and an icon for the graphic decoders.
// Run: make_fuzz_seeds DIR
#include "fixture/BmpFile.h"
#include "fixture/IcoFile.h"
#include "fixture/MetafileWriter.h"
#include "fixture/ReportWriter.h"
#include "fixture/SampleReports.h"

#include <cstdio>
#include <fstream>
#include <string>

using namespace rpt::fixture;

namespace {

std::string folder;

void Save(const std::string& name, const Bytes& bytes) {
    std::ofstream out(folder + "/" + name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

MetafileWriter Picture(MetafileWriter w) {
    w.SetMapMode(8).SetWindowOrg(0, 0).SetWindowExt(200, 100).SetViewportExt(400, 200);
    w.CreatePen(1, 0, 2, 0x0000FF).SelectObject(1);
    w.CreateBrush(2, 2, 0x00FF00, 3).SelectObject(2);
    w.CreateFont(3, -12, "Arial", 700, 0, 450).SelectObject(3);
    w.SaveDC().Rectangle(10, 10, 90, 60).Ellipse(20, 20, 120, 80).RestoreDC(-1);
    w.Polygon({{0, 0}, {50, 90}, {100, 0}}).Polyline({{5, 5}, {60, 30}, {190, 95}});
    w.MoveTo(0, 99).LineTo(199, 0).SetTextColor(0x112233).SetBkMode(2).TextOut(15, 40, "Vendas");
    w.IntersectClipRect(0, 0, 150, 80).StretchDib(100, 10, 40, 30, 2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    w.DeleteObject(1).DeleteObject(2).DeleteObject(3);
    return w;
}

Bytes GraphicsReport(const Bytes& wmf, const Bytes& emf) {
    ReportWriter w(2018);
    w.Header().BeginPage();
    const Bytes bmp8 = BmpFile(7, 5, 8, [](int32_t x, int32_t y) { return uint32_t(x * 30 + y * 40); });
    const Bytes bmp1 = BmpFile(9, 3, 1, [](int32_t x, int32_t y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; });
    const Bytes icon = IcoFile(16, [](int32_t x, int32_t y) { return 0xFF000000u | uint32_t(x * 16) << 8 | uint32_t(y * 16); });
    w.Command(Code::Draw).Graphic(kMetafile, wmf).Single(1).Single(1);
    w.Command(Code::StretchDraw).Graphic(kMetafile, emf, true).Rect(2, 2, 4, 3);
    w.Command(Code::Draw).Graphic(kIcon, icon).Single(5).Single(1);
    w.Command(Code::PrintBitmapRect).Graphic(kBitmap, bmp8).Rect(1, 4, 3, 5);
    w.Command(Code::PrintBitmap).Graphic(kBitmap, bmp1, true).Single(4).Single(4).Single(3).Single(2);
    w.Command(Code::Brush).Brush(BrushDesc{0x808080, 0, bmp1, false});
    w.Command(Code::Rectangle).Rect(1, 6, 3, 7);
    w.Command(Code::Image).ImageBlock(bmp8, "BMP", 4, 6, 5, 7);
    w.EndPage();
    return w.Finish();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    folder = argv[1];
    for (int version : {1101, 2009, 2000, 2010, 2015, 2016, 2017, 2018}) {
        Save("every-" + std::to_string(version) + ".rpt", EveryCommandReport(version));
        Save("empty-" + std::to_string(version) + ".rpt", EmptyPagesReport(version, 3));
    }

    for (int depth : {1, 4, 8, 16, 24, 32})
        Save("depth-" + std::to_string(depth) + ".bmp",
             BmpFile(13, 7, depth, [depth](int32_t x, int32_t y) {
                 // Palette depths get as many colours as their palette holds.
                 const uint32_t colours = depth >= 16 ? 1u << 24 : 1u << depth;
                 return uint32_t(x * 13 + y * 7) % colours * 0x010101u % 0x1000000u;
             }));
    Save("icon.ico", IcoFile(16, [](int32_t x, int32_t y) { return (x + y) % 3 ? 0xFF3366CCu : 0x00000000u; }));

    const Bytes plainWmf = Picture(MetafileWriter::Wmf()).Bytes();
    const Bytes placeableWmf = Picture(MetafileWriter::PlaceableWmf(0, 0, 200, 100, 1440)).Bytes();
    const Bytes emf = Picture(MetafileWriter::Emf(0, 0, 200, 100, 0, 0, 5080, 2540)).Bytes();
    Save("plain.wmf", plainWmf);
    Save("placeable.wmf", placeableWmf);
    Save("picture.emf", emf);
    Save("graphics.rpt", GraphicsReport(placeableWmf, emf));

    // Malformed chains: a page linking to itself, and a next link past the end.
    ReportWriter looping(2018);
    looping.Header();
    looping.BeginPage().EndPage();
    looping.BeginPage().EndPage();
    looping.PatchInt32(looping.NextLinkAt(1), looping.PageOffset(0));
    Save("looping.rpt", looping.Finish());

    ReportWriter macros(2018);
    macros.Header();
    macros.BeginPage();
    macros.Command(Code::ReportVar).String("Total").SlotStringReference("1.234,56");
    macros.Command(Code::PrintLeft).Single(1).String("Total: \x01" "B1\x04" "x\x01N" "Courier New\x02P1\x04y").Single(1);
    macros.Command(Code::PrintBlock).Single(2).String("justified words over a short width").Single(1).Single(1);
    macros.EndPage();
    Save("text.rpt", macros.Finish());
    return 0;
}
