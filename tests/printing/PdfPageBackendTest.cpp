#include "platform/PdfDeviceContext.h"
#include "platform/PdfFilePrinterDriver.h"
#include "platform/RasterDeviceContext.h"
#include "printing/PrintingFixture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include <functional>

namespace rpt::test {
namespace {

constexpr int kDpi = 100;
constexpr int kSize = 100; // a one-inch square page

// Keeps the finished document instead of printing it.
class KeptDocument : public PrintJobSink {
public:
    explicit KeptDocument(std::string& bytes) : bytes_(bytes) {}
    void Open(const std::string&) override {}
    void Deliver(std::string_view document, const std::function<bool()>&) override {
        bytes_.assign(document);
    }

private:
    std::string& bytes_;
};

using Drawing = std::function<void(DeviceContext&)>;

LogBrush BrushOf(TBrushStyle style, TColor color) {
    LogBrush brush;
    brush.Style = style;
    brush.Color = color;
    return brush;
}

QImage OnBitmap(const Drawing& draw) {
    Dib target(kSize, kSize);
    {
        RasterDeviceContext context(target, kDpi, kDpi);
        draw(context);
    }
    return QImage(reinterpret_cast<const uchar*>(target.Pixels.data()), kSize, kSize,
                  kSize * 4, QImage::Format_RGB32)
        .copy();
}

QImage OnPdfPage(const Drawing& draw, const ScratchDir& scratch) {
    PrinterMedia square{"custom", 2540, 2540, 0, 0, 0, 0};
    std::string bytes;
    {
        PdfDeviceContext context(PdfDeviceContext::Kind::Device,
                                 PageGeometry::From(square, false, kDpi));
        context.StartDoc("page", std::make_unique<KeptDocument>(bytes));
        context.StartPage();
        draw(context);
        context.EndDoc();
    }
    const std::string pdf = scratch.Write("page.pdf", fixture::Bytes(bytes.begin(), bytes.end()));
    RunProgram("pdftoppm", {"-r", std::to_string(kDpi), "-aa", "no", "-aaVector", "no", "-png",
                            "-singlefile", pdf, scratch.Path("page")});
    return QImage(QString::fromStdString(scratch.Path("page.png"))).convertToFormat(
        QImage::Format_RGB32);
}

// The same drawing calls on the screen's bitmap and on a PDF page, the PDF
// rasterised back at the page's resolution: shapes land on the same pixels.
TEST(PdfPageBackend, ShapesCoverTheSamePixelsAsOnTheBitmap) {
    const Drawing draw = [](DeviceContext& dc) {
        dc.FillRect(TRect{10, 10, 30, 20}, BrushOf(bsSolid, RGB(255, 0, 0)));
        dc.SelectPen(LogPen{psSolid, 1, clBlack});
        dc.SelectBrush(BrushOf(bsSolid, RGB(0, 0, 255)));
        dc.Rectangle(40, 10, 60, 30);
        dc.Ellipse(10, 40, 50, 80);
        dc.MoveTo(60, 60);
        dc.LineTo(90, 90);
        dc.SelectBrush(BrushOf(bsCross, RGB(0, 128, 0)));
        dc.SetBkMode(TRANSPARENT);
        dc.Rectangle(65, 10, 95, 40);
    };
    ScratchDir scratch;
    const QImage bitmap = OnBitmap(draw);
    const QImage page = OnPdfPage(draw, scratch);
    ASSERT_EQ(page.size(), bitmap.size());

    // Stated pixels: the fill, the rectangle's outline and inside, paper.
    EXPECT_EQ(page.pixel(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(29, 19) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(30, 19) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(page.pixel(40, 10) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(page.pixel(59, 29) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(page.pixel(50, 20) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(page.pixel(60, 30) & 0xFFFFFF, 0xFFFFFFu);

    int different = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if ((page.pixel(x, y) & 0xFFFFFF) != (bitmap.pixel(x, y) & 0xFFFFFF))
                ++different;
    EXPECT_EQ(different, 0);
}

TEST(PdfPageBackend, TextLandsWhereTheBitmapPutsIt) {
    const Drawing draw = [](DeviceContext& dc) {
        LogFont font;
        font.Height = -30;
        font.FaceName = "Arial";
        dc.SelectFont(Font::Create(font));
        dc.SetTextAlign(TA_BASELINE);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(10, 60, "HI");
    };
    ScratchDir scratch;
    const QImage bitmap = OnBitmap(draw);
    const QImage page = OnPdfPage(draw, scratch);
    ASSERT_EQ(page.size(), bitmap.size());
    auto inkBox = [](const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect expected = inkBox(bitmap);
    const QRect drawn = inkBox(page);
    ASSERT_FALSE(expected.isEmpty());
    // Glyph rasterisers differ by a pixel at the edges, no more.
    EXPECT_NEAR(drawn.left(), expected.left(), 1);
    EXPECT_NEAR(drawn.right(), expected.right(), 1);
    EXPECT_NEAR(drawn.top(), expected.top(), 1);
    EXPECT_NEAR(drawn.bottom(), expected.bottom(), 1);
    EXPECT_EQ(expected.bottom(), 59); // the baseline row is the glyphs' last
}

TEST(PdfPageBackend, RawPrinterDataIsCountedNotDrawn) {
    PdfDeviceContext context(PdfDeviceContext::Kind::Device,
                             PageGeometry::From(PrinterMedia{}, false, kDpi));
    EXPECT_EQ(context.Escape(PASSTHROUGH, "\x1B" "E"), 0);
    EXPECT_EQ(context.Escape(PASSTHROUGH, "abc"), 0);
    EXPECT_EQ(context.PassthroughBlocks(), 2);
    EXPECT_EQ(context.PassthroughBytes(), 5);
    EXPECT_EQ(context.GetDeviceCaps(RASTERCAPS) & RC_FLOODFILL, 0);
    EXPECT_FALSE(context.ExtFloodFill(5, 5, clBlack, FLOODFILLBORDER));
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST(PdfSpoolingDriver, AbortProcedureRunsBetweenPagesAndCanCancelDelivery) {
    ScratchDir scratch;
    for (const bool keepGoing : {true, false}) {
        const std::string output = scratch.Path(keepGoing ? "kept.pdf" : "cancelled.pdf");
        PdfFilePrinterDriver driver(8.5, 11, output);
        std::unique_ptr<DeviceContext> context =
            driver.CreateDC(PdfFilePrinterDriver::kDriverName, PdfFilePrinterDriver::kDeviceName,
                            PdfFilePrinterDriver::kPortName, nullptr);
        ASSERT_NE(context, nullptr);
        int asked = 0;
        driver.SetAbortProc(*context, [&](int) {
            ++asked;
            return keepGoing;
        });
        ASSERT_GT(driver.StartDoc(*context, TDocInfo{"job", std::nullopt}), 0);
        for (int page = 0; page < 2; ++page) {
            driver.StartPage(*context);
            driver.EndPage(*context);
        }
        driver.EndDoc(*context);
        EXPECT_GE(asked, 3) << "after each page and while the document is delivered";
        EXPECT_EQ(QFile::exists(QString::fromStdString(output)), keepGoing);
    }
}

} // namespace
} // namespace rpt::test

namespace rpt::test {
namespace {

TEST(PdfPageBackend, PenModeThatLeavesThePageAloneDrawsNothingOnIt) {
    const Drawing draw = [](DeviceContext& dc) {
        dc.FillRect(TRect{10, 10, 60, 60}, BrushOf(bsSolid, RGB(255, 0, 0)));
        dc.SetROP2(R2_NOP);
        dc.SelectPen(LogPen{psSolid, 3, clBlack});
        dc.SelectBrush(BrushOf(bsSolid, RGB(0, 0, 255)));
        dc.Rectangle(20, 20, 50, 50);
    };
    ScratchDir scratch;
    const QImage page = OnPdfPage(draw, scratch);
    EXPECT_EQ(page.pixel(20, 20) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(page.pixel(35, 35) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(OnBitmap(draw).pixel(35, 35) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
} // namespace rpt::test
