#include "ViewerFixture.h"

#include "viewer/ScrollBoxWidget.h"

#include <QWheelEvent>

namespace rpt::test {
namespace {

TEST_F(ViewerTest, PageFieldsFollowThePageShown) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    QTest::mouseClick(form.SBNextPage, Qt::LeftButton);
    QTest::mouseClick(form.SBNextPage, Qt::LeftButton);
    EXPECT_EQ(PageLabelText(), "Página 3 de 10");
    EXPECT_EQ(form.PageEdit->text().toStdString(), "3");
    QTest::mouseClick(form.SBPrevPage, Qt::LeftButton);
    EXPECT_EQ(PageLabelText(), "Página 2 de 10");
    EXPECT_EQ(form.PageEdit->text().toStdString(), "2");
}

TEST_F(ViewerTest, TypedPageIsShownAndTheSamePageIsNotPlayedAgain) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    Type(form.PageEdit, "5");
    EXPECT_EQ(form.FilePreview1->CurrentPage, 5);
    EXPECT_EQ(PageLabelText(), "Página 5 de 10");

    form.PageLabel->setText("untouched");
    Type(form.PageEdit, "5");
    EXPECT_EQ(PageLabelText(), "untouched");

    Type(form.PageEdit, "x7");
    EXPECT_EQ(form.FilePreview1->CurrentPage, 5);
    EXPECT_EQ(form.PageEdit->text().toStdString(), "x7");

    Type(form.PageEdit, "99");
    EXPECT_EQ(form.FilePreview1->CurrentPage, 10);
    EXPECT_EQ(form.PageEdit->text().toStdString(), "10");
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, LeavingThePageFieldGoesToTheTypedPage) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    form.activateWindow();
    form.PageEdit->setFocus();
    form.PageEdit->setText("4");
    QTest::keyClick(form.PageEdit, Qt::Key_Tab);
    EXPECT_EQ(form.FilePreview1->CurrentPage, 4);
}

TEST_F(ViewerTest, TypedZoomGoesToThePreviewWithItsRules) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    struct Case {
        const char* typed;
        const char* shown;
        double zoom;
    };
    const Case cases[] = {
        {"150", "150.0", 150}, {"500", "200.0", 200}, {"5", "10.0", 10},
        {"12.34", "12.3", 12.34}, {"1.5e2", "150.0", 150},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        Type(form.ZoomEdit, c.typed);
        EXPECT_EQ(ZoomText(), c.shown);
        EXPECT_DOUBLE_EQ(form.FilePreview1->GetZoomFactor(), c.zoom);
    }
    EXPECT_TRUE(Record->Errors.empty());
}

TEST_F(ViewerTest, TypedZoomThatIsNotANumberChangesNothing) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    for (const char* typed : {"150,5", "", "abc", "1 50"}) {
        SCOPED_TRACE(typed);
        Type(form.ZoomEdit, typed);
        EXPECT_EQ(ZoomText(), typed);
        EXPECT_EQ(form.FilePreview1->GetZoomFactor(), 100.0);
    }
}

TEST_F(ViewerTest, NegativeTypedZoomFitsThePageOrItsWidth) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    const double wholePage = form.FilePreview1->ZoomPageFactor();
    const double pageWidth = form.FilePreview1->ZoomPageWidthFactor();
    Type(form.ZoomEdit, "-1");
    EXPECT_DOUBLE_EQ(form.FilePreview1->GetZoomFactor(), wholePage);
    EXPECT_EQ(ZoomText(), FloatToStrFixed(wholePage, 1));
    Type(form.ZoomEdit, "-2");
    EXPECT_DOUBLE_EQ(form.FilePreview1->GetZoomFactor(), pageWidth);
}

TEST_F(ViewerTest, FitButtonsWithoutAReportShowTheNotPrintingError) {
    TPreviewForm& form = Open();
    QTest::mouseClick(form.SBZoomPageWidth, Qt::LeftButton);
    QTest::mouseClick(form.SBZoomPage, Qt::LeftButton);
    EXPECT_EQ(Record->Errors, (std::vector<std::string>(
                                  2, "Invalid method call.  Quillet is not printing.")));
    EXPECT_EQ(form.FilePreview1->GetZoomFactor(), 100.0);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ViewerTest, ZoomButtonsStepTheZoomAndRewriteTheField) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    QTest::mouseClick(form.SBZoomIn, Qt::LeftButton);
    EXPECT_EQ(ZoomText(), "110.0");
    QTest::mouseClick(form.SBZoomOut, Qt::LeftButton);
    QTest::mouseClick(form.SBZoomOut, Qt::LeftButton);
    EXPECT_EQ(ZoomText(), "90.0");
    QTest::mouseClick(form.SBZoomPage, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(form.FilePreview1->GetZoomFactor(), form.FilePreview1->ZoomPageFactor());
    // The page drawn is the page at the new zoom.
    const auto* image = form.FilePreview1->PageImage();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), Round(816 * form.FilePreview1->GetZoomFactor() / 100));
}

TEST_F(ViewerTest, KeysStepPagesAndZoom) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    form.ScrollBox1->setFocus();
    QTest::keyClick(&form, Qt::Key_PageDown);
    QTest::keyClick(&form, Qt::Key_PageDown);
    EXPECT_EQ(form.FilePreview1->CurrentPage, 3);
    QTest::keyClick(&form, Qt::Key_PageUp);
    EXPECT_EQ(form.FilePreview1->CurrentPage, 2);
    QTest::keyClick(&form, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(PageLabelText(), "Página 10 de 10");
    QTest::keyClick(&form, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(form.FilePreview1->CurrentPage, 1);
    QTest::keyClick(&form, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "110.0");
    QTest::keyClick(&form, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "100.0");
}

TEST_F(ViewerTest, CtrlWheelZoomsAndThePlainWheelScrolls) {
    TPreviewForm& form = Open({WriteReport("ten.rpt", 10)});
    QWidget* viewport = form.ScrollBox1->viewport();
    auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(viewport, &event);
    };
    wheel(120, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "110.0");
    wheel(-240, Qt::ControlModifier);
    EXPECT_EQ(ZoomText(), "90.0");
    EXPECT_EQ(form.ScrollBox1->VertScrollBar().Position, 0);
    wheel(-120, Qt::NoModifier);
    EXPECT_GT(form.ScrollBox1->VertScrollBar().Position, 0);
    EXPECT_EQ(ZoomText(), "90.0");
}

} // namespace
} // namespace rpt::test
