#include "platform/Font.h"
#include "platform/FontImpl.h"
#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace rpt {
namespace {

// Text widths lay out every line: however they are computed, they must be
// what the font draws, the decoded string measured as a whole.
TEST(FontTextExtent, EqualsTheWidthOfTheWholeDecodedString) {
    std::mt19937 random(20261211);
    struct Case {
        const char* Face;
        uint8_t CharSet;
    };
    const Case cases[] = {
        {"Arial", ANSI_CHARSET},          {"Times New Roman", ANSI_CHARSET},
        {"Courier New", ANSI_CHARSET},    {"Arial", EASTEUROPE_CHARSET},
        {"Arial", RUSSIAN_CHARSET},       {"Times New Roman", GREEK_CHARSET},
        {"Arial", TURKISH_CHARSET},       {"Arial", BALTIC_CHARSET},
        {"Arial", ARABIC_CHARSET},        {"Arial", HEBREW_CHARSET},
        {"Arial", THAI_CHARSET},          {"Arial", VIETNAMESE_CHARSET},
    };
    for (const Case& c : cases)
        for (int32_t height : {-9, -13, -42, -83, 20})
            for (int32_t width : {0, 7}) {
                LogFont description;
                description.FaceName = c.Face;
                description.CharSet = c.CharSet;
                description.Height = height;
                description.Width = width;
                description.Weight = height == -42 ? FW_BOLD : FW_NORMAL;
                description.Italic = height == -13;
                const std::shared_ptr<const Font> font = Font::Create(description);
                for (int sample = 0; sample < 20; ++sample) {
                    std::string bytes;
                    const int length = 1 + static_cast<int>(random() % 60);
                    for (int i = 0; i < length; ++i)
                        bytes.push_back(static_cast<char>(sample % 4 == 0 ? 0x20 + random() % 0x5F
                                                                          : 1 + random() % 255));
                    SCOPED_TRACE(std::string(c.Face) + " charset " + std::to_string(c.CharSet) +
                                 " height " + std::to_string(height));
                    const Font::Impl& qt = font->impl();
                    EXPECT_EQ(font->TextExtent(bytes).cx, qt.Metrics.horizontalAdvance(qt.Decode(bytes)))
                        << QString::fromStdString(DecodeToUtf8(bytes, c.CharSet)).toStdString();
                }
            }
}

} // namespace
} // namespace rpt
