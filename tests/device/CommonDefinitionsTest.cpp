#include "device/EQuillet.h"
#include "device/ShadeToColor.h"
#include "device/TQLComponent.h"
#include "device/TQLStringObject.h"
#include "device/Translate.h"
#include "platform/StringList.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

TEST(QLComponent, VersionIsFixedTwelveCharactersAndIgnoresWrites) {
    TQLComponent component(nullptr);
    const TVersion version = component.Version();
    EXPECT_EQ(version.size(), 12u);
    component.SetVersion("9.99 changed");
    EXPECT_EQ(component.Version(), version);
}

TEST(QLComponent, IsFreedWithItsOwner) {
    TComponent owner(nullptr);
    auto* child = new TQLComponent(&owner);
    ASSERT_EQ(owner.Components().size(), 1u);
    EXPECT_EQ(owner.Components()[0], child);
}

struct ShadeCase {
    TColor color;
    uint8_t percent;
    TColor expected;
};

class ShadeToColorTable : public testing::TestWithParam<ShadeCase> {};

TEST_P(ShadeToColorTable, MixesEachChannelTowardWhiteRoundingDown) {
    const ShadeCase& c = GetParam();
    EXPECT_EQ(ShadeToColor(c.color, c.percent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Shades, ShadeToColorTable,
    testing::Values(ShadeCase{RGB(255, 0, 0), 50, RGB(255, 127, 127)},
                    ShadeCase{RGB(255, 0, 0), 0, RGB(255, 255, 255)},
                    ShadeCase{RGB(255, 0, 0), 100, RGB(255, 0, 0)},
                    ShadeCase{RGB(255, 0, 0), 150, RGB(255, 0, 0)},
                    ShadeCase{RGB(0, 0, 0), 25, RGB(191, 191, 191)},
                    ShadeCase{RGB(10, 100, 200), 255, RGB(10, 100, 200)},
                    // A system colour is resolved before mixing (window text is black).
                    ShadeCase{clWindowText, 25, RGB(191, 191, 191)}));

TEST(QuilletError, RaiseErrorCarriesTheMessageUnchanged) {
    try {
        RaiseError("Invalid method call.  Quillet is not printing.");
        FAIL() << "RaiseError returned";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid method call.  Quillet is not printing.");
    }
}

// Puts the previous hook back on every path.
class TranslateHookGuard {
public:
    explicit TranslateHookGuard(TTranslateProc hook) : saved_(TranslateProc) { TranslateProc = hook; }
    ~TranslateHookGuard() { TranslateProc = saved_; }

private:
    TTranslateProc saved_;
};

TEST(TranslateHook, DefaultAnswersTheTextUnchangedAndAnInstalledHookIsUsed) {
    EXPECT_EQ(TranslateProc, &DefaultTranslate);
    EXPECT_EQ(Translate("Printing page %p"), "Printing page %p");
    {
        TranslateHookGuard guard([](const std::string& text, std::string& result) {
            result = "[" + text + "]";
        });
        EXPECT_EQ(Translate("Preview"), "[Preview]");
    }
    EXPECT_EQ(Translate("Preview"), "Preview");
}

TEST(QLStringObject, HoldsItsValueAsAListObject) {
    TStringList list;
    list.AddObject("TOTAL", std::make_unique<TQLStringObject>("42"));
    EXPECT_EQ(static_cast<TQLStringObject*>(list.Objects(0))->Value, "42");
}

} // namespace
} // namespace rpt
