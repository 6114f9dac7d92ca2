#include "RecordingFilePrinter.h"

#include "device/EQuillet.h"
#include "fixture/ReportWriter.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace rpt::testing {
namespace {

using fixture::Bytes;
using fixture::ReportHeader;
using fixture::ReportWriter;

TEST(ReadHeader, ReadsTheEmptyOnePageFileOf68Bytes) {
    ReportWriter w(2018);
    w.Header().BeginPage().EndPage();
    Bytes file = w.Finish();
    ASSERT_EQ(file.size(), 68u);

    RecordingFilePrinter p;
    p.Load(file);
    EXPECT_EQ(p.FormatVersion, 2018);
    EXPECT_EQ(p.TotalPages, 1);
    EXPECT_EQ(p.PageWidth, 8.5);
    EXPECT_EQ(p.PageHeight, 11.0);
    EXPECT_EQ(p.FileHeader.Orientation, 2);
    EXPECT_EQ(p.FileHeader.Copies, 1);
    EXPECT_EQ(p.FileHeader.PaperSize, 1);
    EXPECT_EQ(p.FileHeader.PaperWidth, 2159);
    EXPECT_EQ(p.FileHeader.PaperLength, 2794);
    EXPECT_EQ(p.FileHeader.OutputFileName, "");
    EXPECT_EQ(p.NextPagePos, 48);

    p.PrintPage(1);
    EXPECT_EQ(p.CurrentPage, 1);
    EXPECT_EQ(p.CurPagePos, 48);
    EXPECT_EQ(p.Input().Position(), 68);
    EXPECT_TRUE(p.Calls.empty());
}

TEST(ReadHeader, ReadsEveryFormatVersionBoundary) {
    struct Case {
        int32_t version;
        bool hasTitle;
        bool hasPrinterExtras;
    };
    for (const Case& c : {Case{1101, false, false}, Case{2009, false, true}, Case{2000, false, true},
                          Case{2010, true, true}, Case{2015, true, true}, Case{2016, true, true},
                          Case{2017, true, true}, Case{2018, true, true}}) {
        SCOPED_TRACE(c.version);
        ReportWriter w(c.version);
        w.Header({.title = "Sales", .paperBin = 7, .collate = 1, .duplex = 2, .copies = 3,
                  .outputFile = "out.prn"});
        w.BeginPage({.width = 11, .height = 8.5f, .spare = 9}).EndPage();
        RecordingFilePrinter p;
        p.Load(w.Finish());
        EXPECT_EQ(p.FormatVersion, c.version);
        EXPECT_EQ(p.FileHeader.Title, c.hasTitle ? "Sales" : "");
        EXPECT_EQ(p.FileHeader.PaperBin, c.hasPrinterExtras ? 7 : 0);
        EXPECT_EQ(p.FileHeader.Collate, c.hasPrinterExtras ? 1 : 0);
        EXPECT_EQ(p.FileHeader.Duplex, c.hasPrinterExtras ? 2 : 0);
        EXPECT_EQ(p.FileHeader.Copies, 3);
        EXPECT_EQ(p.FileHeader.OutputFileName, "out.prn");
        if (c.hasTitle) {
            EXPECT_EQ(p.JobTitle, "Sales");
        }
        // The page record carries the page size only from format 2000 on.
        p.PrintPage(1);
        EXPECT_EQ(p.PageWidth, c.version >= 2000 ? 11.0 : 8.5);
        EXPECT_EQ(p.PageHeight, c.version >= 2000 ? 8.5 : 11.0);
    }
}

TEST(ReadHeader, RefusesAnUnknownVersionCode) {
    for (uint8_t code : {uint8_t('X'), uint8_t(0), uint8_t('q')}) {
        ReportWriter w(code, 2018);
        w.Header();
        RecordingFilePrinter p;
        try {
            p.Load(w.Finish());
            FAIL() << "accepted code " << int(code);
        } catch (const EQuillet& e) {
            EXPECT_STREQ(e.what(), "Unexpected header code found in report file.");
        }
    }
}

TEST(ReadHeader, ReportsATruncatedHeaderAsAStreamReadError) {
    ReportWriter w(2018);
    w.Header({.title = "Title"});
    Bytes file = w.Finish();
    for (size_t keep : {size_t(0), size_t(2), size_t(5), file.size() - 1}) {
        RecordingFilePrinter p;
        EXPECT_THROW(p.Load(Bytes(file.begin(), file.begin() + long(keep))), EReadError) << keep;
    }
}

TEST(ReadHeader, LeavesAStreamPositionAfterTheStartWhereItWas) {
    ReportWriter w(2018);
    w.Header().BeginPage().EndPage();
    RecordingFilePrinter p;
    p.Load(w.Finish());
    p.Input().SetPosition(50);
    p.ReadHeader();
    EXPECT_EQ(p.Input().Position(), 50);
}

TEST(OpenStream, ShowsTheErrorBoxOnceAndKeepsThePageCountForAMissingFile) {
    ScopedUserInterface ui;
    TFilePrinter p(nullptr);
    p.SetFileName("/nonexistent/report.rpt");
    for (TStreamMode mode : {smMemory, smFile, smTempFile}) {
        ui->Errors.clear();
        p.SetStreamMode(mode);
        EXPECT_EQ(p.GetPageCount(), 9999);
        ASSERT_EQ(ui->Errors.size(), 1u);
        EXPECT_EQ(ui->Errors[0], "Error initializing input stream \"/nonexistent/report.rpt\"");
        EXPECT_FALSE(p.StreamOpen);
        EXPECT_EQ(p.InputStream, nullptr);
    }
}

TEST(OpenStream, RefusesUserModeWithoutAStream) {
    TFilePrinter p(nullptr);
    p.SetStreamMode(smUser);
    try {
        p.OpenStream();
        FAIL();
    } catch (const EQuillet& e) {
        EXPECT_STREQ(e.what(), "StreamMode is smUser but Stream is nil");
    }
    EXPECT_FALSE(p.StreamOpen);
}

TEST(OpenStream, ReadsTheSameFileInMemoryAndFileModes) {
    const std::string path = ::testing::TempDir() + "open_stream_modes.rpt";
    ReportWriter w(2016);
    w.Header({.title = "On disk"});
    for (int i = 0; i < 3; ++i)
        w.BeginPage().EndPage();
    w.SaveTo(path);
    for (TStreamMode mode : {smMemory, smFile, smTempFile}) {
        TFilePrinter p(nullptr);
        p.SetFileName(path);
        p.SetStreamMode(mode);
        EXPECT_EQ(p.GetPageCount(), 3) << int(mode);
        EXPECT_TRUE(p.StreamOpen);
        EXPECT_EQ(p.JobTitle, "On disk");
        p.CloseStream();
        EXPECT_FALSE(p.StreamOpen);
    }
    std::remove(path.c_str());
}

TEST(OpenStream, RewindsAnOwnerStreamAndNeverFreesIt) {
    ReportWriter w(2018);
    w.Header().BeginPage().EndPage();
    TMemoryStream stream(w.Finish());
    stream.SetPosition(30);
    {
        TFilePrinter p(nullptr);
        p.SetStreamMode(smUser);
        p.Stream = &stream;
        EXPECT_EQ(p.GetPageCount(), 1);
        EXPECT_EQ(stream.Position(), 48);
    }
    EXPECT_EQ(stream.Size(), 68); // still usable after the printer is gone
}

} // namespace
} // namespace rpt::testing
