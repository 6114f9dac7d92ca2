// Text as the preview draws it on the page bitmap: where the ink lands at
// each zoom, and what the font and code page make of the bytes.
#include "preview/TFilePreview.h"

#include "fixture/ReportWriter.h"
#include "platform/Graphics.h"
#include "platform/MemoryScrollBox.h"
#include "platform/Rounding.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace rpt;
using namespace rpt::fixture;

namespace {

constexpr float kFontHeight = 0.25f; // inches: 24 pixels at 96 per inch and zoom 100

struct Ink {
    int32_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    bool Empty() const { return right < left; }
};

bool IsInk(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return r + g + b < 3 * 128;
}

// A one-page report whose page sets an Arial font and then runs `body`.
Bytes TextReport(const std::function<void(ReportWriter&)>& body,
                 const std::string& face = "Arial") {
    ReportWriter w(2018);
    w.Header();
    w.BeginPage();
    w.Command(Code::FontName).String(face);
    w.Command(Code::FontHeight).Single(kFontHeight).Single(100.0f);
    body(w);
    w.EndPage();
    return w.Finish();
}

void Text(ReportWriter& w, Code code, float x, float y, const std::string& text) {
    w.Command(code).Single(y).String(text).Single(x);
}

struct PagePreview {
    explicit PagePreview(Bytes bytes, double zoom = 100)
        : box(nullptr, 608, 364), stream(std::move(bytes)) {
        preview.SetStreamMode(smUser);
        preview.Stream = &stream;
        preview.SetScrollBox(&box);
        preview.SetZoomFactor(zoom);
        preview.Start();
    }
    ~PagePreview() { preview.Finish(); }
    const Dib& Pixels() const { return preview.PageBitmap()->Pixels(); }
    uint32_t At(int32_t x, int32_t y) const { return Pixels().At(x, y) & 0xFFFFFF; }
    // Device pixel of an inch position at the zoom: the preview's conversion.
    int32_t Dev(double inches) const { return Round(inches * preview.GetZoomFactor() / 100 * 96); }
    // The ink inside a band of rows, away from the sheet's outline.
    Ink InkIn(int32_t top, int32_t bottom) const {
        Ink ink;
        const Dib& dib = Pixels();
        for (int32_t y = std::max(top, 1); y <= std::min(bottom, dib.Height - 2); ++y)
            for (int32_t x = 1; x < dib.Width - 1; ++x)
                if (IsInk(dib.At(x, y))) {
                    ink.left = std::min(ink.left, x);
                    ink.right = std::max(ink.right, x);
                    ink.top = std::min(ink.top, y);
                    ink.bottom = std::max(ink.bottom, y);
                }
        return ink;
    }
    // The ink mask of a box, as rows of '#' and '.', for comparing glyph shapes.
    std::vector<std::string> Mask(const Ink& box) const {
        std::vector<std::string> rows;
        for (int32_t y = box.top; y <= box.bottom; ++y) {
            std::string row;
            for (int32_t x = box.left; x <= box.right; ++x)
                row += IsInk(Pixels().At(x, y)) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }

    TMemoryScrollBox box;
    TMemoryStream stream;
    TFilePreview preview{nullptr};
};

// The same characters drawn by Qt itself in the face and pixel size the
// preview asks for, as an ink mask cropped to the ink.
std::vector<std::string> QtMask(const QString& text, int pixelSize) {
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(pixelSize);
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferFullHinting);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(50, 100), text);
    }
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image.pixel(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    std::vector<std::string> rows;
    for (int32_t y = ink.top; y <= ink.bottom; ++y) {
        std::string row;
        for (int32_t x = ink.left; x <= ink.right; ++x)
            row += IsInk(image.pixel(x, y)) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

} // namespace

TEST(TextPixels, BaselineLiesOnePixelBelowTheConvertedCursorAtEveryZoom) {
    for (double zoom : {50.0, 100.0, 150.0, 200.0}) {
        PagePreview p(
            TextReport([](ReportWriter& w) { Text(w, Code::PrintLeft, 1.0f, 2.0f, "HHH"); }), zoom);
        const Ink ink = p.InkIn(0, INT_MAX);
        ASSERT_FALSE(ink.Empty()) << zoom;
        EXPECT_EQ(ink.bottom, p.Dev(2.0))
            << "the H stands on the baseline row below; zoom " << zoom;
        const int32_t capHeight = ink.bottom - ink.top + 1;
        EXPECT_NEAR(capHeight, 0.72 * p.Dev(kFontHeight), 2) << zoom;
    }
}

TEST(TextPixels, TopBottomAndScriptPlacementFollowTheLine) {
    // Line ascent 0.2, descent 0.05, height 0.3 inch around a baseline at 2
    // inches: text top 1.8, text bottom 2.05, line top 1.75. Top placements
    // hang the cell from the converted Y (plain top text less its internal
    // leading, so the letters' tops meet the text top); bottom placements
    // stand the cell's bottom one pixel below the converted text bottom. "H"
    // has no descender, so its ink ends on the row above the baseline.
    enum Place { kTop, kBottom };
    struct Case {
        const char* name;
        Code command;
        uint8_t value;
        Place place;
        double y; // inches, before the internal leading
    } cases[] = {
        {"top", Code::FontAlign, 1, kTop, 1.8},
        {"bottom", Code::FontAlign, 2, kBottom, 2.05},
        {"superscript", Code::Superscript, 1, kTop, (1.8 + 1.75) / 2},
        {"subscript", Code::Subscript, 1, kBottom, 2.05},
    };
    for (const Case& c : cases) {
        PagePreview p(TextReport([&](ReportWriter& w) {
            w.Command(Code::LineMetrics).Single(0.2f).Single(0.05f).Single(0.3f);
            w.Command(c.command).Byte(c.value);
            Text(w, Code::PrintLeft, 1.0f, 2.0f, "HHH");
        }));
        const Ink ink = p.InkIn(0, INT_MAX);
        ASSERT_FALSE(ink.Empty()) << c.name;
        const TFontRecord& font = p.preview.FontRecord;
        // Scripts keep half their metrics in the record.
        const double unhalve = font.Superscript || font.Subscript ? 2 : 1;
        const int32_t tmAscent = Round(font.Ascent * unhalve * 96),
                      tmDescent = Round(font.Descent * unhalve * 96);
        const double leading = c.command == Code::FontAlign ? font.InternalLeading : 0;
        const int32_t expected = c.place == kTop ? Round((c.y - leading) * 96) + tmAscent - 1
                                                 : Round(c.y * 96) + 1 - tmDescent - 1;
        EXPECT_EQ(ink.bottom, expected) << c.name;
    }
}

// One text per row, each aligned on its own X; the ink's ends are compared
// with the advance the engine measures for the same text and font.
TEST(TextPixels, RightAndCentreAlignmentAreExactAtEveryZoom) {
    const std::string text = "Hamburg";
    const float left = 1.0f, right = 5.0f, centre = 3.3f;
    for (double zoom : {50.0, 100.0, 150.0, 200.0}) {
        PagePreview p(TextReport([&](ReportWriter& w) {
                          Text(w, Code::PrintLeft, left, 1.0f, text);
                          Text(w, Code::PrintRight, right, 2.0f, text);
                          Text(w, Code::PrintCenter, centre, 3.0f, text);
                      }),
                      zoom);
        const int32_t advance = Round(p.preview.TextWidth(text) * 96);
        const Ink l = p.InkIn(p.Dev(0.5), p.Dev(1.5));
        const Ink r = p.InkIn(p.Dev(1.5), p.Dev(2.5));
        const Ink c = p.InkIn(p.Dev(2.5), p.Dev(3.5));
        ASSERT_FALSE(l.Empty() || r.Empty() || c.Empty()) << zoom;
        const int32_t leftBearing = l.left - p.Dev(left);
        const int32_t rightBearing = p.Dev(left) + advance - 1 - l.right;
        EXPECT_GE(leftBearing, 0) << zoom;
        EXPECT_GE(rightBearing, 0) << zoom;
        EXPECT_EQ(r.right, p.Dev(right) - 1 - rightBearing) << "zoom " << zoom;
        EXPECT_EQ(r.right - r.left, l.right - l.left) << zoom;
        EXPECT_EQ(c.left, p.Dev(centre) - advance / 2 + leftBearing) << "zoom " << zoom;
    }
}

TEST(TextPixels, FormattedCentredTextStartsAtTheSamePagePositionAtEveryZoom) {
    const std::string text = "plain \x01"
                             "B1\x04"
                             "bold\x01"
                             "B0\x04"
                             " plain again";
    auto inkLeft = [&](double zoom) {
        PagePreview p(
            TextReport([&](ReportWriter& w) { Text(w, Code::PrintCenter, 4.0f, 2.0f, text); }),
            zoom);
        const Ink ink = p.InkIn(0, INT_MAX);
        EXPECT_FALSE(ink.Empty()) << zoom;
        return ink;
    };
    const Ink at100 = inkLeft(100), at200 = inkLeft(200), at50 = inkLeft(50);
    // Glyph advances are whole pixels at each size, so the text is not exactly
    // twice as wide at twice the zoom; centring spreads that difference on
    // both sides and the start moves by half of it.
    auto width = [](const Ink& ink) { return ink.right - ink.left + 1; };
    EXPECT_NEAR(at200.left, 2 * at100.left - (width(at200) - 2 * width(at100)) / 2.0, 2);
    EXPECT_NEAR(at50.left, at100.left / 2.0 - (width(at50) - width(at100) / 2.0) / 2.0, 2);
    EXPECT_LE(std::abs(width(at200) - 2 * width(at100)), width(at100) / 20)
        << "advances scale with the zoom";
    // Centred on 4 inches: the ink's middle lies there.
    EXPECT_NEAR((at100.left + at100.right) / 2.0, 384, 2);
    EXPECT_NEAR((at200.left + at200.right) / 2.0, 768, 3);
}

TEST(TextPixels, FormattedRightAlignedTextEndsAtItsXAtEveryZoom) {
    // The same words once as formatted text and once plain, both ending on
    // 6 inches: a code block that changes nothing must not move the end.
    const std::string formatted = "Hamburg \x01"
                                  "B0\x04"
                                  "Hamburg";
    for (double zoom : {50.0, 100.0, 150.0, 200.0}) {
        PagePreview p(TextReport([&](ReportWriter& w) {
                          Text(w, Code::PrintRight, 6.0f, 1.0f, "Hamburg Hamburg");
                          Text(w, Code::PrintRight, 6.0f, 2.0f, formatted);
                      }),
                      zoom);
        const Ink plain = p.InkIn(p.Dev(0.5), p.Dev(1.5)), coded = p.InkIn(p.Dev(1.5), p.Dev(2.5));
        ASSERT_FALSE(plain.Empty() || coded.Empty()) << zoom;
        EXPECT_NEAR(coded.right, plain.right, 1) << "zoom " << zoom;
        EXPECT_NEAR(coded.left, plain.left, 1) << "zoom " << zoom;
    }
}

TEST(TextPixels, JustifiedTextFillsItsWidthAtEveryZoom) {
    // "Hamburg" right-aligned on the block's end shows where the block's last
    // word must end.
    for (double zoom : {50.0, 100.0, 200.0}) {
        PagePreview p(TextReport([&](ReportWriter& w) {
                          Text(w, Code::PrintRight, 5.0f, 1.0f, "Hamburg");
                          w.Command(Code::PrintBlock)
                              .Single(2.0f)
                              .String("Ham  Hamburg")
                              .Single(1.0f)
                              .Single(4.0f);
                      }),
                      zoom);
        const Ink reference = p.InkIn(p.Dev(0.5), p.Dev(1.5)),
                  block = p.InkIn(p.Dev(1.5), p.Dev(2.5));
        ASSERT_FALSE(reference.Empty() || block.Empty()) << zoom;
        EXPECT_NEAR(block.right, reference.right, 1) << "zoom " << zoom;
        EXPECT_GE(block.left, p.Dev(1.0)) << zoom;
        EXPECT_LE(block.left, p.Dev(1.0) + 3 * zoom / 100)
            << "a glyph bearing from X; zoom " << zoom;
    }
}

TEST(TextPixels, RotatedTextTurnsAboutItsReferencePoint) {
    // The reference point is column x and the baseline pixel row y. The H's
    // stand on the baseline, so the side of the letters that touches it lies
    // next to the reference point, and the run leaves it in the text's
    // direction; the far ends are a glyph bearing away from it.
    const int32_t kBearing = 3;
    struct Case {
        int16_t degrees;
        std::function<void(const Ink&, int32_t x, int32_t y)> check;
    } cases[] = {
        {90,
         [](const Ink& ink, int32_t x, int32_t y) {
             EXPECT_EQ(ink.right, x - 1) << "tops to the left";
             EXPECT_GE(ink.bottom, y - 1 - kBearing);
             EXPECT_LE(ink.bottom, y - 1) << "runs upwards";
             EXPECT_GT(ink.bottom - ink.top, 4 * (ink.right - ink.left));
         }},
        {180,
         [](const Ink& ink, int32_t x, int32_t y) {
             EXPECT_EQ(ink.top, y) << "tops downwards";
             EXPECT_GE(ink.right, x - 1 - kBearing);
             EXPECT_LE(ink.right, x - 1) << "runs leftwards";
             EXPECT_GT(ink.right - ink.left, 4 * (ink.bottom - ink.top));
         }},
        {270,
         [](const Ink& ink, int32_t x, int32_t y) {
             EXPECT_EQ(ink.left, x) << "tops to the right";
             EXPECT_GE(ink.top, y);
             EXPECT_LE(ink.top, y + kBearing) << "runs downwards";
             EXPECT_GT(ink.bottom - ink.top, 4 * (ink.right - ink.left));
         }},
    };
    for (const Case& c : cases) {
        PagePreview p(TextReport([&](ReportWriter& w) {
            w.Command(Code::FontRotation).Int16(c.degrees);
            Text(w, Code::PrintLeft, 4.0f, 5.0f, "HHHHHH");
        }));
        const Ink ink = p.InkIn(0, INT_MAX);
        ASSERT_FALSE(ink.Empty()) << c.degrees;
        SCOPED_TRACE(c.degrees);
        c.check(ink, p.Dev(4.0), p.Dev(5.0) + 1);
    }
}

// The longest run of ink in one row of a box.
int32_t LongestInkRun(const PagePreview& p, int32_t y, int32_t left, int32_t right) {
    int32_t best = 0, run = 0;
    for (int32_t x = left; x <= right; ++x) {
        run = IsInk(p.Pixels().At(x, y)) ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

TEST(TextPixels, UnderlineAndStrikeOutComeFromTheFont) {
    // "iiii" has no row of its own that runs across the text.
    struct Case {
        Code style;
        bool below;
        double zoom;
    } cases[] = {{Code::Underline, true, 100},
                 {Code::StrikeOut, false, 100},
                 {Code::Underline, true, 200},
                 {Code::StrikeOut, false, 50}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        PagePreview plain(
            TextReport([](ReportWriter& w) { Text(w, Code::PrintLeft, 1.0f, 2.0f, "iiii"); }),
            c.zoom);
        PagePreview styled(TextReport([&](ReportWriter& w) {
                               w.Command(c.style).Byte(1);
                               Text(w, Code::PrintLeft, 1.0f, 2.0f, "iiii");
                           }),
                           c.zoom);
        const Ink glyphs = plain.InkIn(0, INT_MAX);
        const Ink ink = styled.InkIn(0, INT_MAX);
        ASSERT_FALSE(glyphs.Empty());
        const int32_t baseline = styled.Dev(2.0) + 1;
        int32_t rowAcross = INT_MIN;
        for (int32_t y = ink.top; y <= ink.bottom; ++y)
            if (LongestInkRun(styled, y, ink.left, ink.right) >= glyphs.right - glyphs.left + 1)
                rowAcross = y;
        ASSERT_NE(rowAcross, INT_MIN) << "a row of ink across the text";
        if (c.below) {
            EXPECT_GE(rowAcross, baseline);
            EXPECT_LT(rowAcross, baseline + 6 * c.zoom / 100);
        } else {
            EXPECT_LT(rowAcross, baseline - 1);
            EXPECT_GT(rowAcross, glyphs.top + 1) << "through the x-height, not above it";
        }
        for (int32_t y = glyphs.top; y <= glyphs.bottom; ++y)
            EXPECT_LT(LongestInkRun(plain, y, glyphs.left, glyphs.right),
                      glyphs.right - glyphs.left)
                << y;
    }
}

TEST(TextPixels, OpaqueBackgroundFillsTheTextCellInTheBackgroundColour) {
    // Colours are stored blue-green-red: 0x0000FF is red, 0xFF0000 blue.
    PagePreview p(TextReport([](ReportWriter& w) {
        w.Command(Code::BackMode).Byte(1);
        w.Command(Code::BackColor).Int32(0x0000FF);
        w.Command(Code::FontColor).Int32(0xFF0000);
        Text(w, Code::PrintLeft, 1.0f, 2.0f, "Hamburg");
    }));
    const TFontRecord& font = p.preview.FontRecord;
    const int32_t tmAscent = Round(font.Ascent * 96), tmDescent = Round(font.Descent * 96);
    const int32_t advance = Round(p.preview.TextWidth("Hamburg") * 96);
    const int32_t left = p.Dev(1.0), baseline = p.Dev(2.0) + 1;
    const int32_t top = baseline - tmAscent, bottom = baseline + tmDescent - 1,
                  right = left + advance - 1;
    constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF;
    struct Probe {
        int32_t x, y;
        uint32_t colour;
    } probes[] = {{left, top, kRed},       {right, top, kRed},         {left, bottom, kRed},
                  {right, bottom, kRed},   {left - 1, top, kWhite},    {right + 1, bottom, kWhite},
                  {left, top - 1, kWhite}, {right, bottom + 1, kWhite}};
    for (const Probe& probe : probes)
        EXPECT_EQ(p.At(probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;
    // The H's stem, in the text colour, stands on the row above the baseline.
    bool blueStem = false;
    for (int32_t x = left; x <= right; ++x)
        blueStem = blueStem || p.At(x, baseline - 1) == 0x0000FFu;
    EXPECT_TRUE(blueStem);
}

TEST(TextPixels, CodePagesDrawTheirOwnCharacters) {
    struct Case {
        std::string bytes;
        uint8_t charset;
        QString characters;
    } cases[] = {
        {"\xE3\xE9\xE7\xC7\xF5", 1, QStringLiteral(u"ãéçÇõ")},
        {"\x80", 0, QStringLiteral(u"€")},
        {"\x80", 1, QStringLiteral(u"€")},
        {"\xC6\xE8\xE7\xED\xFC", 204, QStringLiteral(u"Жизнь")},
        {"\xA3\xF3\x64\x9F", 238, QStringLiteral(u"Łódź")},
        {"\xE1\xE2\xE3", 161, QStringLiteral(u"αβγ")},
    };
    for (const Case& c : cases) {
        PagePreview p(TextReport([&](ReportWriter& w) {
            w.Command(Code::FontCharset).Byte(c.charset);
            Text(w, Code::PrintLeft, 1.0f, 2.0f, c.bytes);
        }));
        const Ink ink = p.InkIn(0, INT_MAX);
        ASSERT_FALSE(ink.Empty()) << c.characters.toStdString();
        EXPECT_EQ(p.Mask(ink), QtMask(c.characters, p.Dev(kFontHeight)))
            << c.characters.toStdString();
    }
}

TEST(TextPixels, UnknownFaceFallsBackAndStillDraws) {
    PagePreview p(TextReport([](ReportWriter& w) { Text(w, Code::PrintLeft, 1.0f, 2.0f, "HHH"); },
                             "No Such Face Anywhere"));
    const Ink ink = p.InkIn(0, INT_MAX);
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(ink.bottom, p.Dev(2.0));
}

TEST(TextPixels, ZoomChangedWhilePreviewingDrawsAsAFreshPreviewAtThatZoom) {
    auto report = [] {
        return TextReport([](ReportWriter& w) {
            w.Command(Code::Bold).Byte(1);
            Text(w, Code::PrintCenter, 4.0f, 2.0f, "Hamburg");
            Text(w, Code::PrintLeft, 1.0f, 3.0f,
                 "plain \x01"
                 "B0\x04"
                 "again");
        });
    };
    PagePreview changed(report(), 100);
    changed.preview.SetZoomFactor(150);
    PagePreview fresh(report(), 150);
    const Ink a = changed.InkIn(0, INT_MAX), b = fresh.InkIn(0, INT_MAX);
    ASSERT_FALSE(a.Empty());
    EXPECT_EQ(changed.Mask(a), fresh.Mask(b));
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
}
