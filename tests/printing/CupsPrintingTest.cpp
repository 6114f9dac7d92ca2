#include "device/SharedDevice.h"
#include "device/TQLDevice.h"
#include "platform/CupsPrinterDriver.h"
#include "platform/CupsDestination.h"
#include "platform/CupsPrintJob.h"
#include "platform/CupsPrinterProfile.h"
#include "platform/PrintJobSink.h"
#include "platform/PrintOutputFile.h"
#include "printing/CupsTestServer.h"
#include "printing/PrintingFixture.h"
#include "reader/TFilePrinter.h"

#include <gtest/gtest.h>

#include <QFile>

#include <algorithm>
#include <cstring>
#include <memory>

namespace rpt::test {
namespace {

// Each test runs its own scheduler and printer and prints through the
// shared device over CUPS, as `rpt print` and the viewer do.
class CupsPrintingTest : public ::testing::Test {
protected:
    void SetUp() override { StartServer(true); }

    void StartServer(bool duplex) {
        if (auto reason = CupsTestServer::Unavailable())
            GTEST_SKIP() << *reason;
        server_ = std::make_unique<CupsTestServer>(duplex);
        ASSERT_TRUE(server_->Ready()) << server_->Failure();
        ReplaceSharedDevice(std::make_unique<TQLDevice>(std::make_unique<CupsPrinterProfile>(),
                                                        std::make_unique<CupsPrinterDriver>()));
    }

    void TearDown() override {
        printer_.reset();
        ReplaceSharedDevice(nullptr);
        SetOverwriteConsent(nullptr);
    }

    TFilePrinter& Printer(const ReportSpec& contents) {
        const std::string report = scratch_.Write("report.rpt", MultiPageReport(contents));
        printer_ = std::make_unique<TFilePrinter>(nullptr);
        printer_->SetFileName(report);
        printer_->SetStreamMode(smFile);
        return *printer_;
    }

    ReceivedJob OnlyJob() {
        const std::vector<ReceivedJob> jobs = server_->WaitForJobs(1);
        EXPECT_EQ(jobs.size(), 1u);
        return jobs.empty() ? ReceivedJob{} : jobs.front();
    }

    static ReportSpec Titled(int pages) {
        ReportSpec contents{.Pages = pages};
        contents.Header.title = "Vendas de mar\xE7o"; // Windows-1252, as reports hold it
        return contents;
    }

    ScratchDir scratch_;
    std::unique_ptr<CupsTestServer> server_;
    std::unique_ptr<TFilePrinter> printer_;
};

TEST_F(CupsPrintingTest, ListsTheQueueAsTheDefaultPrinterWithItsCapabilities) {
    TQLDevice& device = SharedDevice();
    ASSERT_EQ(device.Printers().Count(), 1u);
    EXPECT_EQ(device.Printers().Strings(0),
              std::string(CupsTestServer::kQueue) + " on " + server_->PrinterUri());
    EXPECT_EQ(device.PrinterIndex(), 0);
    EXPECT_TRUE(device.SupportsDuplex());
    EXPECT_TRUE(device.SupportsCollate());
    EXPECT_GT(device.MaxCopies(), 1);
    const TStringList& bins = device.Bins();
    std::vector<std::pair<std::string, uint16_t>> listed;
    for (size_t i = 0; i < bins.Count(); ++i)
        listed.emplace_back(bins.Strings(i), device.BinNumber(i));
    EXPECT_EQ(listed, (std::vector<std::pair<std::string, uint16_t>>{
                          {"auto", 7}, {"main", 15}, {"manual", 4}, {"by-pass-tray", 256}}));
    ASSERT_NE(device.DevMode(), nullptr);
    EXPECT_EQ(device.DevMode()->dmCopies, 1);
    ASSERT_NE(device.Handle(), nullptr);
    EXPECT_EQ(device.Handle()->GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_GT(device.Handle()->GetDeviceCaps(PHYSICALOFFSETX), 0);
}

TEST_F(CupsPrintingTest, WholeFileArrivesAsOneJobWithEveryPage) {
    Printer(Titled(5)).PrintRange(0, 0, 0);
    const ReceivedJob job = OnlyJob();
    EXPECT_EQ(job.Name, "Vendas de mar\xC3\xA7o");
    EXPECT_EQ(job.Copies, 1);
    EXPECT_EQ(job.Sides, "one-sided");
    EXPECT_EQ(job.MediaWidth, 21590);
    EXPECT_EQ(job.MediaLength, 27940);
    ASSERT_FALSE(job.Document.empty());
    const PdfFacts pdf = InspectPdf(job.Document);
    EXPECT_EQ(pdf.Pages, 5);
    EXPECT_EQ(pdf.PageSizes.front(), "612 x 792");
    EXPECT_FALSE(SharedDevice().Printing());
}

TEST_F(CupsPrintingTest, RangeIsSentOnceWithTheCopyCountForThePrinter) {
    Printer(Titled(5)).PrintRange(2, 4, 3);
    const ReceivedJob job = OnlyJob();
    EXPECT_EQ(job.Copies, 3);
    EXPECT_EQ(InspectPdf(job.Document).Pages, 3);
}

TEST_F(CupsPrintingTest, HeaderAsksForDuplexCollatedCopiesOnA4) {
    ReportSpec contents = Titled(4);
    contents.Header.duplex = 1;
    contents.Header.collate = 1;
    contents.Header.copies = 2;
    contents.Header.paperSize = 9;
    contents.Header.paperWidth = 2100;
    contents.Header.paperLength = 2970;
    contents.Header.paperBin = 4; // the manual feed
    Printer(contents).PrintRange(0, 0, 0);
    const ReceivedJob job = OnlyJob();
    EXPECT_EQ(job.Copies, 2);
    EXPECT_EQ(job.Sides, "two-sided-long-edge");
    EXPECT_EQ(job.Collation, "separate-documents-collated-copies");
    EXPECT_EQ(job.MediaWidth, 21000);
    EXPECT_EQ(job.MediaLength, 29700);
    // The paper source goes with the job's options; the queue maps it for the printer.
    const auto destination = CupsDestination::Find(CupsTestServer::kQueue);
    ASSERT_NE(destination, nullptr);
    const auto options = CupsPrintJob::OptionsFor(*destination, *SharedDevice().DevMode());
    EXPECT_NE(std::find(options.begin(), options.end(),
                        std::pair<std::string, std::string>("media-source", "manual")),
              options.end());
    const PdfFacts pdf = InspectPdf(job.Document);
    EXPECT_EQ(pdf.Pages, 4);
    EXPECT_EQ(pdf.PageSizes.front(), "595 x 842");
}

TEST_F(CupsPrintingTest, UncollatedCopiesAreAskedForAsSuch) {
    ReportSpec contents = Titled(2);
    contents.Header.collate = 0;
    Printer(contents).PrintRange(0, 0, 3);
    EXPECT_EQ(OnlyJob().Collation, "separate-documents-uncollated-copies");
}

TEST_F(CupsPrintingTest, ReverseAndSkippingSelectionsSendTheSelectedPages) {
    struct Case {
        const char* selection;
        int pages;
    };
    const Case cases[] = {{"ALL,R", 5}, {"1,3", 2}, {"even", 2}};
    size_t jobs = 0;
    for (const Case& c : cases) {
        TFilePrinter& printer = Printer(Titled(5));
        printer.PageSelection = c.selection;
        printer.PrintRange(0, 0, 0);
        const std::vector<ReceivedJob> received = server_->WaitForJobs(++jobs);
        ASSERT_EQ(received.size(), jobs) << c.selection;
        const PdfFacts pdf = InspectPdf(received.back().Document);
        EXPECT_EQ(pdf.Pages, c.pages) << c.selection;
    }
}

TEST_F(CupsPrintingTest, PrinterRemovedSinceListingIsReportedAndLeavesTheDeviceIdle) {
    TFilePrinter& printer = Printer(Titled(2));
    ASSERT_TRUE(server_->RemoveQueue(CupsTestServer::kQueue));
    try {
        printer.PrintRange(0, 0, 0);
        FAIL() << "printing on a removed printer succeeded";
    } catch (const EPrintError& e) {
        EXPECT_NE(std::string(e.what()).find("is not available"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(SharedDevice().Printing());
    EXPECT_FALSE(printer.Printing);
    EXPECT_FALSE(printer.StreamOpen);
}

TEST_F(CupsPrintingTest, QueueRefusingJobsIsReported) {
    TFilePrinter& printer = Printer(Titled(2));
    ASSERT_TRUE(server_->RejectJobs(CupsTestServer::kQueue));
    EXPECT_THROW(printer.PrintRange(0, 0, 0), EPrintError);
    EXPECT_FALSE(SharedDevice().Printing());
}

TEST_F(CupsPrintingTest, ReportsOutputFileIsWrittenInsteadOfThePrinter) {
    ReportSpec contents = Titled(3);
    contents.Header.outputFile = scratch_.Path("job.pdf");
    Printer(contents).PrintRange(0, 0, 0);
    EXPECT_EQ(InspectPdf(contents.Header.outputFile).Pages, 3);
    EXPECT_TRUE(server_->WaitForJobs(0).empty());
}

TEST_F(CupsPrintingTest, ExistingOutputFileIsReplacedOnlyWithConsent) {
    ReportSpec contents = Titled(3);
    contents.Header.outputFile = scratch_.Write("mine.txt", {'k', 'e', 'e', 'p'});
    EXPECT_THROW(Printer(contents).PrintRange(0, 0, 0), EPrintError);
    QFile kept(QString::fromStdString(contents.Header.outputFile));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep"));
    kept.close();

    std::string asked;
    SetOverwriteConsent([&](const std::string& name) {
        asked = name;
        return true;
    });
    Printer(contents).PrintRange(0, 0, 0);
    EXPECT_EQ(asked, contents.Header.outputFile);
    EXPECT_EQ(InspectPdf(contents.Header.outputFile).Pages, 3);
}

class CupsSimplexPrinterTest : public CupsPrintingTest {
protected:
    void SetUp() override { StartServer(false); }
};

TEST_F(CupsSimplexPrinterTest, DuplexIsNotAskedOfAPrinterWithoutIt) {
    EXPECT_FALSE(SharedDevice().SupportsDuplex());
    ReportSpec contents = Titled(2);
    contents.Header.duplex = 1;
    Printer(contents).PrintRange(0, 0, 0);
    EXPECT_EQ(OnlyJob().Sides.find("two-sided"), std::string::npos);
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST_F(CupsPrintingTest, DocumentRefusedWhenItEndsIsReported) {
    CupsPrintJob job(CupsTestServer::kQueue, *SharedDevice().DevMode());
    job.Open("late");
    ASSERT_TRUE(server_->RemoveQueue(CupsTestServer::kQueue));
    try {
        job.Deliver("%PDF-1.4\n", {});
        FAIL() << "a document for a removed queue was taken";
    } catch (const EPrintError& e) {
        EXPECT_NE(std::string(e.what()).find("refused"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST_F(CupsPrintingTest, LandscapePageIsTurnedOntoThePaperWithoutAnOrientationOption) {
    Printer({.Pages = 3, .LandscapeAfterPage = 1}).PrintRange(0, 0, 0);
    const ReceivedJob job = OnlyJob();
    const PdfFacts pdf = InspectPdf(job.Document);
    ASSERT_EQ(pdf.Pages, 3);
    EXPECT_EQ(pdf.PageSizes[0], "612 x 792");
    // The scheduler turns the landscape page onto the queue's upright paper.
    EXPECT_EQ(pdf.PageSizes[1], "612 x 792");
    // Turned, not shrunk: the first word of page 2 runs down the sheet.
    const std::string html = RunProgram("pdftotext", {"-f", "2", "-l", "2", "-bbox", job.Document, "-"}).Out;
    const size_t word = html.find("<word ");
    ASSERT_NE(word, std::string::npos) << html;
    auto number = [&](const char* key) {
        return std::stod(html.substr(html.find(key, word) + std::strlen(key)));
    };
    EXPECT_GT(number("yMax=\"") - number("yMin=\""), number("xMax=\"") - number("xMin=\""));
    EXPECT_GT(number("yMax=\"") - number("yMin=\""), 20.0) << "a 14-point word";
    const auto destination = CupsDestination::Find(CupsTestServer::kQueue);
    ASSERT_NE(destination, nullptr);
    for (const auto& [name, value] :
         CupsPrintJob::OptionsFor(*destination, *SharedDevice().DevMode()))
        EXPECT_NE(name, "orientation-requested");
}

} // namespace
} // namespace rpt::test
