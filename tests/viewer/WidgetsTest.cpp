#include "ViewerFixture.h"

#include "device/EQuillet.h"
#include "platform/Exceptions.h"
#include "viewer/ButtonGlyphs.h"
#include "viewer/HandlerErrors.h"
#include "viewer/PageImageWidget.h"
#include "viewer/QtUserInterface.h"
#include "viewer/ScrollBoxWidget.h"

#include <QGuiApplication>
#include <QScrollBar>
#include <QStyle>

namespace rpt::test {
namespace {

TEST_F(ViewerTest, ErrorsLeavingAHandlerAreShownOnceAndTheAbortSilently) {
    ReportHandlerErrors([] { throw EQuillet("Bad \xE9l\xE8ve"); });
    ReportHandlerErrors([] { throw std::runtime_error("plain failure"); });
    ReportHandlerErrors([] { Abort(); });
    ReportHandlerErrors([] {});
    EXPECT_EQ(Record->Errors, (std::vector<std::string>{"Bad élève", "plain failure"}));
}

TEST(QtUserInterfaceTest, TextIsDecodedFromWindows1252WithCarriageReturnsAsLineBreaks) {
    EXPECT_EQ(QtUserInterface::DecodeText("N\xE3o h\xE1 \x80 5\r\nfim\rok").toStdString(),
              "Não há € 5\nfim\nok");
}

TEST(QtUserInterfaceTest, NestedHourglassesRestoreTheCursorOnce) {
    QtUserInterface ui;
    ui.SetCursor(TCursor::crHourGlass);
    ui.SetCursor(TCursor::crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetCursor(TCursor::crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ui.SetCursor(TCursor::crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(ScrollBoxWidgetTest, ClientSizeFollowsTheRangesAtOnceAndMatchesTheViewport) {
    TComponent owner(nullptr);
    auto* box = new ScrollBoxWidget(&owner, nullptr);
    box->resize(608, 364);
    box->show();
    const int border = 2 * box->frameWidth();
    const int bar = box->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, box);
    struct Case {
        int horz, vert, clientWidth, clientHeight;
    };
    const Case cases[] = {
        {0, 0, 608 - border, 364 - border},
        {2000, 0, 608 - border, 364 - border - bar},
        {0, 2000, 608 - border - bar, 364 - border},
        {2000, 2000, 608 - border - bar, 364 - border - bar},
        // Wide enough only while no vertical bar is shown: the vertical bar
        // makes the horizontal one necessary.
        {608 - border - 1, 2000, 608 - border - bar, 364 - border - bar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.horz << " x " << c.vert);
        box->SetHorzRange(c.horz);
        box->SetVertRange(c.vert);
        EXPECT_EQ(box->ClientWidth(), c.clientWidth);
        EXPECT_EQ(box->ClientHeight(), c.clientHeight);
        EXPECT_EQ(box->viewport()->width(), c.clientWidth);
        EXPECT_EQ(box->viewport()->height(), c.clientHeight);
    }
}

TEST(ScrollBoxWidgetTest, PositionsStayInRangeAndMoveTheImages) {
    TComponent owner(nullptr);
    auto* box = new ScrollBoxWidget(&owner, nullptr);
    box->resize(300, 200);
    TImage* image = box->CreateImage(&owner);
    image->SetBounds(20, 20, 1000, 800);
    box->SetHorzRange(1040);
    box->SetVertRange(840);
    box->SetHorzPosition(100);
    box->SetVertPosition(5000);
    EXPECT_EQ(box->HorzScrollBar().Position, 100);
    EXPECT_EQ(box->VertScrollBar().Position, 840 - box->ClientHeight());
    auto* widget = dynamic_cast<PageImageWidget*>(image);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->pos(), QPoint(20 - 100, 20 - box->VertScrollBar().Position));
    EXPECT_EQ(widget->size(), QSize(1000, 800));
    box->SetHorzPosition(-5);
    EXPECT_EQ(box->HorzScrollBar().Position, 0);
    EXPECT_EQ(widget->x(), 20);
}

TEST(ScrollBoxWidgetTest, ImageFreedByItsOwnerOrByTheBoxLeavesNoDanglingWidget) {
    TComponent owner(nullptr);
    auto* box = new ScrollBoxWidget(&owner, nullptr);
    delete box->CreateImage(&owner);
    EXPECT_TRUE(owner.Components().size() == 1u);
    box->CreateImage(&owner);
    EXPECT_EQ(owner.Components().size(), 2u);
    delete box;
    EXPECT_TRUE(owner.Components().empty());
}

TEST_F(ViewerTest, PageImageShowsTheBitmapInsideTheMargin) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    auto* image = dynamic_cast<PageImageWidget*>(form.FilePreview1->PageImage());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->parentWidget(), form.ScrollBox1->viewport());
    // A fixed margin of 2.5 % of an 8.5-inch page at 96 pixels per inch.
    EXPECT_EQ(image->Left(), 20);
    EXPECT_EQ(image->Top(), 20);
    EXPECT_EQ(image->size(), QSize(816, 1056));
    const QImage& picture = image->Picture();
    ASSERT_EQ(picture.size(), QSize(816, 1056));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));         // the sheet's outline
    EXPECT_EQ(picture.pixel(400, 500), qRgb(255, 255, 255)); // the empty sheet
    EXPECT_EQ(form.ScrollBox1->HorzScrollBar().Range, 816 + 40);
    EXPECT_EQ(form.ScrollBox1->VertScrollBar().Range, 1056 + 40);
}

TEST(ButtonGlyphsTest, EveryGlyphHasANormalAndAGreyDisabledLook) {
    for (Glyph glyph : {Glyph::ZoomIn, Glyph::ZoomOut, Glyph::ZoomPageWidth, Glyph::ZoomPage,
                        Glyph::PrevPage, Glyph::NextPage, Glyph::Print, Glyph::Done}) {
        SCOPED_TRACE(static_cast<int>(glyph));
        const QImage normal = DrawGlyph(glyph, 16);
        ASSERT_EQ(normal.size(), QSize(16, 16));
        const QImage disabled = DisabledLook(normal);
        int ink = 0, grey = 0, other = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                ink += qAlpha(normal.pixel(x, y)) > 0;
                const QRgb pixel = disabled.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                if (pixel == qRgb(128, 128, 128))
                    ++grey;
                else if (pixel != qRgb(255, 255, 255))
                    ++other;
            }
        EXPECT_GT(ink, 20);
        EXPECT_GT(grey, 5);
        EXPECT_EQ(other, 0);
        EXPECT_FALSE(GlyphIcon(glyph).pixmap(16, QIcon::Disabled).isNull());
    }
}

} // namespace
} // namespace rpt::test
