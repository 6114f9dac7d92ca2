// The `rpt pdf` path over a long text report: the file read and played page
// by page onto the built-in PDF printer, the document written to a file.
#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "fixture/ReportWriter.h"
#include "platform/PdfFilePrinterDriver.h"
#include "reader/TFilePrinter.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <string>

namespace {

using rpt::fixture::Code;

rpt::fixture::Bytes TextReport(int pages) {
    rpt::fixture::ReportWriter writer(2018);
    rpt::fixture::ReportHeader header;
    header.title = "Ledger";
    header.totalPages = static_cast<int16_t>(pages);
    writer.Header(header);
    for (int page = 1; page <= pages; ++page) {
        writer.BeginPage();
        writer.Command(Code::FontName).String("Arial");
        writer.Command(Code::FontHeight).Single(10.0f / 72).Single(100.0f);
        for (int line = 0; line < 50; ++line)
            writer.Command(Code::PrintLeft)
                .Single(1.0f + line * 0.18f)
                .String("Account " + std::to_string(page * 100 + line) +
                        "  Opening balance 1,234.56  Closing balance 7,890.12")
                .Single(0.75f);
        writer.EndPage();
    }
    return writer.Finish();
}

void PdfOfThousandPageTextReport(benchmark::State& state) {
    QTemporaryDir dir;
    const std::string report = dir.filePath("ledger.rpt").toStdString();
    const std::string output = dir.filePath("ledger.pdf").toStdString();
    const rpt::fixture::Bytes bytes = TextReport(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        {
            FILE* file = std::fopen(report.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
        rpt::ReplaceSharedDevice(std::make_unique<rpt::TQLDevice>(
            rpt::PdfFilePrinterDriver::Profile(),
            std::make_unique<rpt::PdfFilePrinterDriver>(8.5, 11, output)));
        state.ResumeTiming();
        rpt::TFilePrinter printer(nullptr);
        printer.SetFileName(report);
        printer.SetStreamMode(rpt::smFile);
        printer.PrintRange(0, 0, 0);
    }
    rpt::ReplaceSharedDevice(nullptr);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(PdfOfThousandPageTextReport)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
