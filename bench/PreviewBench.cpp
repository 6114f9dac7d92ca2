// Playing one page into the preview: mixed shapes, bitmaps and text, at
// zoom 100 and 200; and measuring a string with the font cache warm.
#include "fixture/BmpFile.h"
#include "fixture/ReportWriter.h"
#include "platform/MemoryScrollBox.h"
#include "platform/Stream.h"
#include "preview/TFilePreview.h"

#include <benchmark/benchmark.h>

using namespace rpt;
using namespace rpt::fixture;

namespace {

Bytes ShapesPage() {
    ReportWriter w(2018);
    w.Header().BeginPage();
    for (int i = 0; i < 2000; ++i) {
        float x = 0.5f + (i % 40) * 0.18f, y = 0.5f + (i / 40) * 0.2f;
        w.Command(Code::Pen).Pen(PenDesc{i * 7919 & 0xFFFFFF, static_cast<uint8_t>(i % 16),
                                         static_cast<uint8_t>(i % 5), 0.01f});
        w.Command(Code::Brush).Brush(BrushDesc{i * 104729 & 0xFFFFFF, static_cast<uint8_t>(i % 8),
                                               std::nullopt, false});
        switch (i % 5) {
        case 0: w.Command(Code::Rectangle).Single(x).Single(y).Single(x + 0.15f).Single(y + 0.15f); break;
        case 1: w.Command(Code::Ellipse).Single(x).Single(y).Single(x + 0.15f).Single(y + 0.15f); break;
        case 2: w.Command(Code::MoveTo).Single(x).Single(y);
                w.Command(Code::LineTo).Single(x + 0.15f).Single(y + 0.15f); break;
        case 3: w.Command(Code::Polygon).PointList({{x, y}, {x + 0.15f, y}, {x, y + 0.15f}}); break;
        default: w.Command(Code::RoundRect).Single(x).Single(y).Single(x + 0.15f).Single(y + 0.15f)
                     .Single(0.05f).Single(0.05f);
        }
    }
    w.EndPage();
    return w.Finish();
}

Bytes BitmapsPage() {
    ReportWriter w(2018);
    w.Header().BeginPage();
    Bytes bmp = BmpFile(64, 48, 24, [](int32_t x, int32_t y) { return uint32_t(x * 4) | uint32_t(y * 5) << 8; });
    for (int i = 0; i < 50; ++i) {
        float x = 0.5f + (i % 5) * 1.5f, y = 0.5f + (i / 5) * 1.0f;
        w.Command(Code::PrintBitmapRect).Graphic(kBitmap, bmp).Single(x).Single(y)
            .Single(x + 1.2f).Single(y + 0.9f);
    }
    w.EndPage();
    return w.Finish();
}

Bytes TextPage() {
    ReportWriter w(2018);
    w.Header().BeginPage();
    const char* faces[] = {"Arial", "Times New Roman", "Courier New"};
    std::string line;
    for (int c = 0; c < 100; ++c)
        line.push_back(static_cast<char>('a' + c % 26));
    for (int i = 0; i < 60; ++i) {
        w.Command(Code::FontName).String(faces[i % 3]);
        w.Command(Code::FontHeight).Single(9.0f / 72).Single(100.0f);
        w.Command(Code::Bold).Byte(i % 2);
        w.Command(Code::Italic).Byte(i % 4 == 3);
        w.Command(Code::PrintLeft).Single(0.5f + i * 0.17f).String(line).Single(0.3f);
    }
    w.EndPage();
    return w.Finish();
}

// The page frame alone: the sheet, margin and shadow every page costs.
Bytes EmptyPage() {
    ReportWriter w(2018);
    w.Header().BeginPage().EndPage();
    return w.Finish();
}

struct Fixture {
    explicit Fixture(Bytes bytes, double zoom) : box(nullptr, 608, 364), stream(std::move(bytes)) {
        preview.SetStreamMode(smUser);
        preview.Stream = &stream;
        preview.SetScrollBox(&box);
        preview.SetZoomFactor(zoom);
        preview.Start();
    }
    TMemoryScrollBox box;
    TMemoryStream stream;
    TFilePreview preview{nullptr};
};

void PlayPage(benchmark::State& state, Bytes (*page)()) {
    Fixture f(page(), static_cast<double>(state.range(0)));
    for (auto _ : state)
        f.preview.PrintPage(1);
}

void BM_EmptyPage(benchmark::State& state) { PlayPage(state, EmptyPage); }
void BM_ShapesPage(benchmark::State& state) { PlayPage(state, ShapesPage); }
void BM_BitmapsPage(benchmark::State& state) { PlayPage(state, BitmapsPage); }
void BM_TextPage(benchmark::State& state) { PlayPage(state, TextPage); }

void BM_TextWidthWarmCache(benchmark::State& state) {
    Fixture f(TextPage(), 100);
    std::string text(100, 'x');
    f.preview.TextWidth(text);
    for (auto _ : state)
        benchmark::DoNotOptimize(f.preview.TextWidth(text));
}

} // namespace

BENCHMARK(BM_EmptyPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShapesPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BitmapsPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextPage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextWidthWarmCache)->Unit(benchmark::kMicrosecond);
