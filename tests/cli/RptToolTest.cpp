// The rpt tool's looking commands (info, dump, render, text) as a user runs
// them: exit status, standard output and standard error of the real program.
#include "fixture/SampleReports.h"
#include "printing/PrintingFixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace rpt::test {
namespace {

using fixture::Code;

ProgramResult Rpt(const std::vector<std::string>& args) { return RunProgram(RPT_EXE, args); }

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class RptTool : public ::testing::Test {
protected:
    std::string Report(const ReportSpec& contents) {
        return scratch_.Write("report.rpt", MultiPageReport(contents));
    }
    ScratchDir scratch_;
};

TEST_F(RptTool, InfoShowsTheHeaderAndTheLinkedPageChain) {
    ReportSpec contents{.Pages = 3};
    contents.Header.title = "Vendas de mar\xE7o";
    const std::string report = Report(contents);

    const ProgramResult text = Rpt({"info", report});
    ASSERT_EQ(text.Status, 0) << text.Err;
    EXPECT_TRUE(Contains(text.Out, "format_version: 2018\n")) << text.Out;
    EXPECT_TRUE(Contains(text.Out, "title:          \"Vendas de março\"\n")) << text.Out;
    EXPECT_TRUE(Contains(text.Out, "pages:          3\n")) << text.Out;
    EXPECT_EQ(text.Err, "");

    const ProgramResult json = Rpt({"info", "--json", report});
    ASSERT_EQ(json.Status, 0) << json.Err;
    QJsonParseError error{};
    const QJsonObject info =
        QJsonDocument::fromJson(QByteArray::fromStdString(json.Out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.Out;
    EXPECT_EQ(info["title"].toString(), QString::fromUtf8("Vendas de março"));
    EXPECT_EQ(info["total_pages"].toInt(), 3);
    const QJsonArray pages = info["pages"].toArray();
    ASSERT_EQ(pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const QJsonObject page = pages[i].toObject();
        EXPECT_EQ(page["number"].toInt(), i + 1);
        EXPECT_EQ(page["prev"].toInt(), i == 0 ? 0 : pages[i - 1].toObject()["offset"].toInt());
        EXPECT_EQ(page["next"].toInt(), i == 2 ? 0 : pages[i + 1].toObject()["offset"].toInt());
        EXPECT_EQ(page["width"].toDouble(), 8.5);
    }
}

// Every command of every page, at every format version the reader knows.
TEST_F(RptTool, DumpListsEveryCommandOfEveryFormatVersion) {
    for (int version : {1101, 2009, 2000, 2010, 2015, 2016, 2017, 2018}) {
        SCOPED_TRACE(version);
        const std::string report =
            scratch_.Write("every.rpt", fixture::EveryCommandReport(version));
        const ProgramResult all = Rpt({"dump", report});
        ASSERT_EQ(all.Status, 0) << all.Err;
        EXPECT_TRUE(Contains(all.Out, "page 1")) << all.Out;
        EXPECT_TRUE(Contains(all.Out, "page 2")) << all.Out;
        for (const char* name : {"rectangle", "print left", "font name", "pen", "brush"})
            EXPECT_TRUE(Contains(all.Out, name)) << name << "\n" << all.Out;

        const ProgramResult second = Rpt({"dump", "--page", "2", report});
        ASSERT_EQ(second.Status, 0) << second.Err;
        EXPECT_TRUE(Contains(second.Out, "page 2")) << second.Out;
        EXPECT_FALSE(Contains(second.Out, "page 1 ")) << second.Out;
        EXPECT_LT(second.Out.size(), all.Out.size());
    }
}

TEST_F(RptTool, TextListsEachPagesTextsEndedByAFormFeed) {
    const std::string report = Report({.Pages = 3});
    const ProgramResult all = Rpt({"text", report});
    ASSERT_EQ(all.Status, 0) << all.Err;
    EXPECT_EQ(all.Out, "Page 1 of the sample\n\fPage 2 of the sample\n\fPage 3 of the sample\n\f");
    const ProgramResult second = Rpt({"text", "-p", "2", report});
    ASSERT_EQ(second.Status, 0) << second.Err;
    EXPECT_EQ(second.Out, "Page 2 of the sample\n\f");
}

TEST_F(RptTool, TextDecodesEachStringWithItsFontsCodePage) {
    fixture::ReportWriter writer(2018);
    writer.Header();
    writer.BeginPage();
    writer.Command(Code::FontName).String("Arial");
    writer.Command(Code::FontCharset).Byte(0);
    writer.Command(Code::PrintLeft).Single(1).String("Cora\xE7\xE3o \x80 5,00").Single(1);
    writer.Command(Code::FontCharset).Byte(204);
    writer.Command(Code::PrintLeft).Single(1).String("\xCF\xF0\xE8\xE2\xE5\xF2").Single(2);
    writer.Command(Code::FontCharset).Byte(238);
    writer.Command(Code::PrintLeft).Single(1).String("\xB9\xE8").Single(3);
    writer.Command(Code::FontCharset).Byte(0);
    // A formatted string and a justified block are one text operation each.
    writer.Command(Code::PrintLeft).Single(1).String("Total \x01" "B1\x04geral").Single(4);
    writer.Command(Code::PrintBlock)
        .Single(3)
        .String("um par\xE1grafo justificado que passa de uma linha")
        .Single(1)
        .Single(5);
    writer.EndPage();
    writer.SaveTo(scratch_.Path("pages.rpt"));

    const ProgramResult result = Rpt({"text", scratch_.Path("pages.rpt")});
    ASSERT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out, "Coração € 5,00\nПривет\nąč\nTotal geral\n"
                          "um parágrafo justificado que passa de uma linha\n\f");
}

TEST_F(RptTool, RenderWritesThePageBitmapAsTheViewerShowsIt) {
    const std::string report = Report({.Pages = 3});
    // An 8.5 by 11 inch page with inch rulers at 96 per inch.
    const std::string first = scratch_.Path("first.png");
    ASSERT_EQ(Rpt({"render", "--rulers", "in", report, first}).Status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(first)).size(), QSize(836, 1076));

    const std::string pattern = scratch_.Path("page%d.png");
    const ProgramResult all = Rpt({"render", "-p", "all", "-z", "50", report, pattern});
    ASSERT_EQ(all.Status, 0) << all.Err;
    for (int page = 1; page <= 3; ++page) {
        const QImage image(QString::fromStdString(scratch_.Path("page" + std::to_string(page) + ".png")));
        ASSERT_FALSE(image.isNull()) << page;
        EXPECT_LT(image.width(), 836 / 2 + 10);
    }

    // A page past the chain shows the nearest end, as the preview does.
    const std::string past = scratch_.Path("past%d.png");
    ASSERT_EQ(Rpt({"render", "-p", "9", report, past}).Status, 0);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(scratch_.Path("past3.png"))));
}

TEST_F(RptTool, ErrorsAreReportedWithTheSystemsMessageAndStatus) {
    const std::string report = Report({.Pages = 2});
    const std::string missing = scratch_.Path("missing.rpt");
    const std::string garbage = scratch_.Write("garbage.rpt", fixture::Bytes{'X', 1, 2, 3});
    const std::string png = scratch_.Path("out.png");
    struct Case {
        std::vector<std::string> Args;
        int Status;
        std::string Message;
    };
    const Case cases[] = {
        {{"info", missing}, 1, "Error initializing input stream"},
        {{"dump", garbage}, 1, "Unexpected header code found in report file."},
        {{"text", garbage}, 1, "Unexpected header code found in report file."},
        {{"render", missing, png}, 1, "Error initializing input stream"},
        {{"render", "-p", "all", report, png}, 2, "%d"},
        {{"render", "-z", "300", report, png}, 2, "--zoom"},
        {{"render", "--rulers", "feet", report, png}, 2, "--rulers"},
        {{"dump", "--page", "x", report}, 2, "not a page number"},
        {{"text"}, 2, "expects one FILE"},
        {{"frobnicate", report}, 2, "unknown command"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = Rpt(c.Args);
        SCOPED_TRACE(c.Args.front() + " " + c.Args.back());
        EXPECT_EQ(result.Status, c.Status) << result.Err;
        EXPECT_TRUE(Contains(result.Err, c.Message)) << result.Err;
        EXPECT_EQ(result.Out, "") << result.Out;
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(png)));
}

} // namespace
} // namespace rpt::test
