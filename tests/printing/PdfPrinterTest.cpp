#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/PdfFilePrinterDriver.h"
#include "platform/PrintJobSink.h"
#include "printing/PrintingFixture.h"
#include "reader/TFilePrinter.h"

#include <gtest/gtest.h>

#include <QFile>

namespace rpt::test {
namespace {

// Prints a report file on the built-in PDF printer as `rpt pdf` does.
class PdfPrinterTest : public ::testing::Test {
protected:
    void TearDown() override { ReplaceSharedDevice(nullptr); }

    PdfFacts Print(const ReportSpec& contents, const std::string& selection = "",
                   float pageWidth = 8.5f, float pageHeight = 11.0f) {
        const std::string report = scratch_.Write("report.rpt", MultiPageReport(contents));
        output_ = scratch_.Path("out.pdf");
        auto driver = std::make_unique<PdfFilePrinterDriver>(pageWidth, pageHeight, output_);
        driver_ = driver.get();
        ReplaceSharedDevice(
            std::make_unique<TQLDevice>(PdfFilePrinterDriver::Profile(), std::move(driver)));
        TFilePrinter printer(nullptr);
        printer.SetFileName(report);
        printer.SetStreamMode(smFile);
        printer.PageSelection = selection;
        printer.PrintRange(0, 0, 0);
        return InspectPdf(output_);
    }

    ScratchDir scratch_;
    std::string output_;
    PdfFilePrinterDriver* driver_ = nullptr;
};

TEST_F(PdfPrinterTest, WritesOnePdfPageOfTheReportsSizePerReportPage) {
    const PdfFacts pdf = Print({.Pages = 3});
    EXPECT_EQ(pdf.Pages, 3);
    EXPECT_EQ(pdf.PageSizes, (std::vector<std::string>{"612 x 792", "612 x 792", "612 x 792"}));
}

TEST_F(PdfPrinterTest, TextIsSelectableInEmbeddedFonts) {
    const PdfFacts pdf = Print({.Pages = 2});
    EXPECT_NE(pdf.Text.find("Page 1 of the sample"), std::string::npos) << pdf.Text;
    EXPECT_NE(pdf.Text.find("Page 2 of the sample"), std::string::npos) << pdf.Text;
    ASSERT_FALSE(pdf.EmbeddedFonts.empty());
    EXPECT_NE(pdf.EmbeddedFonts.front().find("Liberation"), std::string::npos)
        << pdf.EmbeddedFonts.front();
}

TEST_F(PdfPrinterTest, PagesAfterOrientationCommandAreLandscape) {
    const PdfFacts pdf = Print({.Pages = 3, .LandscapeAfterPage = 1});
    EXPECT_EQ(pdf.PageSizes, (std::vector<std::string>{"612 x 792", "792 x 612", "792 x 612"}));
}

TEST_F(PdfPrinterTest, WideReportPageGivesLandscapePaper) {
    ReportSpec contents{.Pages = 1};
    contents.Header.pageWidth = 11.69f;
    contents.Header.pageHeight = 8.27f;
    const PdfFacts pdf = Print(contents, "", 11.69f, 8.27f);
    EXPECT_EQ(pdf.PageSizes, (std::vector<std::string>{"842 x 595"}));
}

TEST_F(PdfPrinterTest, SelectionSkipsAndReversesPages) {
    const PdfFacts reversed = Print({.Pages = 3}, "ALL,R");
    ASSERT_EQ(reversed.Pages, 3);
    EXPECT_LT(reversed.Text.find("Page 3"), reversed.Text.find("Page 1"));

    const PdfFacts even = Print({.Pages = 5}, "even");
    EXPECT_EQ(even.Pages, 2);
    EXPECT_NE(even.Text.find("Page 4"), std::string::npos);
    EXPECT_EQ(even.Text.find("Page 3"), std::string::npos);
}

TEST_F(PdfPrinterTest, RawPrinterDataIsCountedAndLeftOutOfTheDocument) {
    const PdfFacts pdf = Print({.Pages = 2, .RawData = true});
    EXPECT_EQ(pdf.Pages, 2);
    EXPECT_EQ(pdf.Text.find("raw bytes"), std::string::npos);
    QFile file(QString::fromStdString(output_));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("raw bytes"));
}

TEST_F(PdfPrinterTest, NoSelectedPageWritesNoFile) {
    const PdfFacts pdf = Print({.Pages = 2}, "R");
    EXPECT_EQ(driver_->PagesStarted(), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(output_)));
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST(PdfPrinterDelivery, UnwritableOutputIsReportedAndLeavesTheDeviceIdle) {
    ScratchDir scratch;
    const std::string report = scratch.Write("r.rpt", MultiPageReport({.Pages = 2}));
    ReplaceSharedDevice(std::make_unique<TQLDevice>(
        PdfFilePrinterDriver::Profile(),
        std::make_unique<PdfFilePrinterDriver>(8.5, 11, scratch.Path("missing/out.pdf"))));
    {
        TFilePrinter printer(nullptr);
        printer.SetFileName(report);
        printer.SetStreamMode(smFile);
        EXPECT_THROW(printer.PrintRange(0, 0, 0), EPrintError);
        EXPECT_FALSE(SharedDevice().Printing());
        EXPECT_FALSE(printer.Printing);
        EXPECT_FALSE(printer.StreamOpen);
        // The device takes the next job.
        EXPECT_THROW(printer.PrintRange(1, 1, 0), EPrintError);
    }
    ReplaceSharedDevice(nullptr);
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

// The PDF printer with a printer's unprintable edges: wider at the top and
// bottom than at the sides, so that they trade places in landscape.
class EdgedPdfPrinterDriver : public PdfFilePrinterDriver {
public:
    using PdfFilePrinterDriver::PdfFilePrinterDriver;

protected:
    PageGeometry PageFor(const std::string& device, const TDevMode* devMode) override {
        PageGeometry page = PdfFilePrinterDriver::PageFor(device, devMode);
        PrinterMedia media{"na_letter_8.5x11in", 21590, 27940, 340, 340, 635, 635};
        return PageGeometry::From(media, page.Landscape, page.Dpi);
    }
};

// x of the first word of each page, in points from the paper's left edge.
std::vector<double> FirstWordLeft(const std::string& pdf) {
    const std::string html = RunProgram("pdftotext", {"-bbox", pdf, "-"}).Out;
    std::vector<double> lefts;
    for (size_t at = html.find("<page "); at != std::string::npos;
         at = html.find("<page ", at + 1)) {
        const size_t word = html.find("xMin=\"", at);
        if (word != std::string::npos)
            lefts.push_back(std::stod(html.substr(word + 6)));
    }
    return lefts;
}

TEST(PdfPrinterEdges, TextKeepsItsPlaceOnThePaperWhenTheOrientationChanges) {
    ScratchDir scratch;
    const std::string report =
        scratch.Write("r.rpt", MultiPageReport({.Pages = 2, .LandscapeAfterPage = 1}));
    const std::string output = scratch.Path("out.pdf");
    ReplaceSharedDevice(std::make_unique<TQLDevice>(
        PdfFilePrinterDriver::Profile(),
        std::make_unique<EdgedPdfPrinterDriver>(8.5, 11, output)));
    {
        TFilePrinter printer(nullptr);
        printer.SetFileName(report);
        printer.SetStreamMode(smFile);
        printer.PrintRange(0, 0, 0);
    }
    ReplaceSharedDevice(nullptr);
    const PdfFacts pdf = InspectPdf(output);
    EXPECT_EQ(pdf.PageSizes, (std::vector<std::string>{"612 x 792", "792 x 612"}));
    // The text starts one inch from the paper's left edge on both pages.
    const std::vector<double> lefts = FirstWordLeft(output);
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_NEAR(lefts[0], 72.0, 0.5);
    EXPECT_NEAR(lefts[1], 72.0, 0.5);
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST(PdfPrinterDelivery, BadCommandEndsTheJobWithThePagesAlreadyMade) {
    fixture::ReportWriter writer(2018);
    fixture::ReportHeader header;
    header.totalPages = 3;
    writer.Header(header);
    writer.BeginPage();
    writer.Command(fixture::Code::PrintLeft).Single(1).String("first").Single(1);
    writer.EndPage();
    writer.BeginPage();
    writer.Byte(0xC8); // no command has this code
    writer.EndPage();
    writer.BeginPage();
    writer.EndPage();
    ScratchDir scratch;
    const std::string report = scratch.Write("bad.rpt", writer.Finish());
    const std::string output = scratch.Path("out.pdf");
    ReplaceSharedDevice(std::make_unique<TQLDevice>(
        PdfFilePrinterDriver::Profile(), std::make_unique<PdfFilePrinterDriver>(8.5, 11, output)));
    {
        TFilePrinter printer(nullptr);
        printer.SetFileName(report);
        printer.SetStreamMode(smFile);
        EXPECT_ANY_THROW(printer.PrintRange(0, 0, 0));
        EXPECT_FALSE(SharedDevice().Printing());
    }
    ReplaceSharedDevice(nullptr);
    const PdfFacts pdf = InspectPdf(output);
    EXPECT_EQ(pdf.Pages, 2);
    EXPECT_NE(pdf.Text.find("first"), std::string::npos);
}

} // namespace
} // namespace rpt::test
