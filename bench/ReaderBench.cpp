// The reader on a 10,000-page report: opening it and reading the header, and
// walking the page chain from the first page to the last and back, with the
// file loaded into memory and read from disk.
#include "fixture/ReportWriter.h"
#include "reader/TFilePrinter.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include <string>

using namespace rpt;
using namespace rpt::fixture;

namespace {

constexpr int kPages = 10000;

// Each page draws a line of text and a box, as a listing report does.
const std::string& ReportPath() {
    static QTemporaryDir dir;
    static const std::string path = [] {
        ReportWriter w(2018);
        ReportHeader header;
        header.title = "Listagem";
        w.Header(header);
        for (int page = 1; page <= kPages; ++page) {
            w.BeginPage();
            w.Command(Code::PrintLeft).Single(1).String("Linha da p\xE1gina " + std::to_string(page)).Single(1);
            w.Command(Code::Rectangle).Rect(1, 2, 3, 3);
            w.EndPage();
        }
        const std::string file = QDir(dir.path()).filePath("listing.rpt").toStdString();
        w.SaveTo(file);
        return file;
    }();
    return path;
}

TStreamMode Mode(const benchmark::State& state) {
    return state.range(0) == 0 ? smMemory : smFile;
}

void Open(TFilePrinter& printer, TStreamMode mode) {
    printer.SetFileName(ReportPath());
    printer.SetStreamMode(mode);
    if (!printer.OpenStream())
        throw std::runtime_error("the benchmark report did not open");
    printer.ReadHeader();
    printer.ResetPagePosition();
}

void BM_OpenAndReadHeader(benchmark::State& state) {
    const TStreamMode mode = Mode(state);
    ReportPath();
    for (auto _ : state) {
        TFilePrinter printer(nullptr);
        Open(printer, mode);
        benchmark::DoNotOptimize(printer.TotalPages);
        printer.CloseStream();
    }
}

void BM_GotoLastPageAndBack(benchmark::State& state) {
    TFilePrinter printer(nullptr);
    Open(printer, Mode(state));
    for (auto _ : state) {
        printer.GotoPage(kPages);
        printer.GotoPage(1);
        benchmark::DoNotOptimize(printer.CurrentPage);
    }
    if (printer.CurrentPage != 1)
        state.SkipWithError("the walk did not come back to page 1");
    printer.CloseStream();
}

} // namespace

// Argument 0: the file in memory (smMemory); 1: read from disk (smFile).
BENCHMARK(BM_OpenAndReadHeader)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GotoLastPageAndBack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
