#include "platform/Convert.h"
#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace rpt;

TEST(StrictConversion, WholeNumbersMustBeTheWholeText) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"5", 5},           {"-12", -12},     {"+7", 7},          {"$1F", 31},
        {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt},
        {"", std::nullopt}, {" 5", std::nullopt}, {"5 ", std::nullopt}, {"1.0", std::nullopt},
        {"12a", std::nullopt}, {"-", std::nullopt}, {"$", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TryStrToInt(c.text), c.value) << c.text;
    EXPECT_THROW(StrToInt("x"), EConvertError);
}

TEST(StrictConversion, FloatsTakeAPointAndNothingElse) {
    struct Case {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"150", 150.0}, {"150.5", 150.5}, {"-1", -1.0}, {".5", 0.5}, {"5.", 5.0}, {"1e2", 100.0},
        {"150,5", std::nullopt}, {"", std::nullopt}, {".", std::nullopt}, {"1e", std::nullopt},
        {"nan", std::nullopt}, {"inf", std::nullopt}, {" 1", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TryStrToFloat(c.text), c.value) << c.text;
    EXPECT_THROW(StrToFloat("150,5"), EConvertError);
}

TEST(StrictConversion, FixedNotationUsesAPoint) {
    EXPECT_EQ(FloatToStrFixed(100, 1), "100.0");
    EXPECT_EQ(FloatToStrFixed(67.1568, 1), "67.2");
}
