#include "printing/CupsTestServer.h"
#include "printing/PrintingFixture.h"

#include <gtest/gtest.h>

#include <QFile>

namespace rpt::test {
namespace {

ProgramResult Rpt(const std::vector<std::string>& args,
                  const std::vector<std::pair<std::string, std::string>>& env = {}) {
    return RunProgram(RPT_EXE, args, env);
}

// No scheduler answers on this socket: no printers are installed.
std::vector<std::pair<std::string, std::string>> NoScheduler(const ScratchDir& scratch) {
    return {{"CUPS_SERVER", scratch.Path("nothing.sock")}};
}

TEST(RptPdfCommand, WritesTheReportAsPdfWithoutAnyPrinter) {
    ScratchDir scratch;
    const std::string report = scratch.Write("r.rpt", MultiPageReport({.Pages = 3, .LandscapeAfterPage = 2}));
    const std::string output = scratch.Path("r.pdf");
    const ProgramResult result = Rpt({"pdf", report, output}, NoScheduler(scratch));
    ASSERT_EQ(result.Status, 0) << result.Err;
    const PdfFacts pdf = InspectPdf(output);
    EXPECT_EQ(pdf.Pages, 3);
    EXPECT_EQ(pdf.PageSizes, (std::vector<std::string>{"612 x 792", "612 x 792", "792 x 612"}));
    EXPECT_EQ(pdf.EmbeddedFonts, (std::vector<std::string>{"LiberationSans"}));
    EXPECT_NE(pdf.Text.find("Page 3 of the sample"), std::string::npos) << pdf.Text;
}

TEST(RptPdfCommand, PageSelectionAndItsErrors) {
    ScratchDir scratch;
    const std::string report = scratch.Write("r.rpt", MultiPageReport({.Pages = 4}));
    const std::string output = scratch.Path("r.pdf");
    EXPECT_EQ(Rpt({"pdf", "-p", "2-3", report, output}).Status, 0);
    EXPECT_EQ(InspectPdf(output).Pages, 2);

    const ProgramResult none = Rpt({"pdf", "-p", "9", report, scratch.Path("none.pdf")});
    EXPECT_EQ(none.Status, 1);
    EXPECT_NE(none.Err.find("No page of the report was selected"), std::string::npos) << none.Err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(scratch.Path("none.pdf"))));

    EXPECT_EQ(Rpt({"pdf", "-p", "two", report, output}).Status, 2);
    EXPECT_EQ(Rpt({"pdf", report}).Status, 2);
    const ProgramResult missing = Rpt({"pdf", scratch.Path("missing.rpt"), output});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("Error initializing input stream"), std::string::npos)
        << missing.Err;
}

TEST(RptPrintCommand, NoPrintersInstalledFailsWithTheSystemsMessage) {
    ScratchDir scratch;
    const std::string report = scratch.Write("r.rpt", MultiPageReport({.Pages = 1}));
    const ProgramResult result = Rpt({"print", report}, NoScheduler(scratch));
    EXPECT_EQ(result.Status, 1);
    EXPECT_NE(result.Err.find("No printers are defined, aborting print job."), std::string::npos)
        << result.Err;
    const ProgramResult list = Rpt({"printers"}, NoScheduler(scratch));
    EXPECT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out, "No printers are installed.\n");
}

TEST(RptPrintCommand, UsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"print"},
                                               {"print", "--copies", "0", "r.rpt"},
                                               {"print", "--copies", "x", "r.rpt"},
                                               {"print", "-p", "1-2-", "r.rpt"},
                                               {"print", "--printer"},
                                               {"print", "a.rpt", "b.rpt"},
                                               {"printers", "extra"}}) {
        EXPECT_EQ(Rpt(args).Status, 2) << args.size();
    }
}

class RptPrintOnCups : public ::testing::Test {
protected:
    void SetUp() override {
        if (auto reason = CupsTestServer::Unavailable())
            GTEST_SKIP() << *reason;
        server_ = std::make_unique<CupsTestServer>();
        ASSERT_TRUE(server_->Ready()) << server_->Failure();
    }
    ProgramResult Run(const std::vector<std::string>& args) {
        return Rpt(args, {{"CUPS_SERVER", server_->Socket()}});
    }
    ScratchDir scratch_;
    std::unique_ptr<CupsTestServer> server_;
};

TEST_F(RptPrintOnCups, ListsPrintersWithTheDefaultMarked) {
    ASSERT_TRUE(server_->AddQueue("Second"));
    const ProgramResult result = Run({"printers"});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("TestQueue on " + server_->PrinterUri() + "  (default)"),
              std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("Second on " + server_->PrinterUri() + "\n"), std::string::npos)
        << result.Out;
    EXPECT_NE(result.Out.find("duplex:        yes"), std::string::npos) << result.Out;

    for (const char* variable : {"PRINTER", "LPDEST"}) {
        const ProgramResult chosen =
            Rpt({"printers"}, {{"CUPS_SERVER", server_->Socket()}, {variable, "Second"}});
        EXPECT_NE(chosen.Out.find("Second on " + server_->PrinterUri() + "  (default)"),
                  std::string::npos)
            << variable << "\n" << chosen.Out;
    }
    EXPECT_NE(result.Out.find("collation:     yes"), std::string::npos) << result.Out;
}

TEST_F(RptPrintOnCups, PrintsPagesAndCopiesOnTheNamedPrinter) {
    ASSERT_TRUE(server_->AddQueue("Second"));
    const std::string report = scratch_.Write("r.rpt", MultiPageReport({.Pages = 5}));
    const ProgramResult result =
        Run({"print", "--printer", "Second", "-p", "2-4", "--copies", "2", report});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_NE(result.Out.find("on Second"), std::string::npos) << result.Out;
    const std::vector<ReceivedJob> jobs = server_->WaitForJobs(1);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].Copies, 2);
    EXPECT_EQ(InspectPdf(jobs[0].Document).Pages, 3);
}

TEST_F(RptPrintOnCups, UnknownPrinterEmptySelectionOrRefusingPrinterFails) {
    const std::string report = scratch_.Write("r.rpt", MultiPageReport({.Pages = 1}));
    const ProgramResult unknown = Run({"print", "--printer", "Nowhere", report});
    EXPECT_EQ(unknown.Status, 1);
    EXPECT_NE(unknown.Err.find("There is no printer named \"Nowhere\"."), std::string::npos)
        << unknown.Err;

    const ProgramResult nothing = Run({"print", "-p", "r", report});
    EXPECT_EQ(nothing.Status, 1);
    EXPECT_NE(nothing.Err.find("nothing was printed"), std::string::npos) << nothing.Err;

    ASSERT_TRUE(server_->RejectJobs(CupsTestServer::kQueue));
    const ProgramResult refused = Run({"print", report});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("is not accepting jobs"), std::string::npos) << refused.Err;
}

TEST_F(RptPrintOnCups, ExistingPrintFileIsReplacedOnlyWithOverwrite) {
    ReportSpec contents{.Pages = 2};
    contents.Header.outputFile = scratch_.Write("mine.pdf", {'o', 'l', 'd'});
    const std::string report = scratch_.Write("r.rpt", MultiPageReport(contents));
    const ProgramResult refused = Run({"print", report});
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Err.find("already exists"), std::string::npos) << refused.Err;
    EXPECT_EQ(InspectPdf(contents.Header.outputFile).Pages, 0);

    EXPECT_EQ(Run({"print", "--overwrite", report}).Status, 0);
    EXPECT_EQ(InspectPdf(contents.Header.outputFile).Pages, 2);
}

} // namespace
} // namespace rpt::test
