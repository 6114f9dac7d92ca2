#include "DeviceFixture.h"

#include "device/EQuillet.h"

#include <gtest/gtest.h>

namespace rpt {
namespace {

using test::FakeDevice;

TEST(PrinterSettings, TheRecordHoldsThePrintersDefaultsAfterSelection) {
    FakeDevice fake;
    const TDevMode* record = fake.Device->DevMode();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(*record, fake.Setup->Defaults);
    EXPECT_FALSE(fake.Device->SettingsChanged());
}

TEST(PrinterSettings, OrientationIsWrittenOnceAndTwoLeavesThePrintersSetting) {
    FakeDevice fake;
    TDevMode& record = *fake.Device->DevMode();
    record.dmFields = 0;
    fake.Device->SetOrientation(2);
    EXPECT_EQ(record.dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_FALSE(fake.Device->SettingsChanged());
    fake.Device->SetOrientation(1);
    EXPECT_EQ(record.dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(record.dmFields, DM_ORIENTATION);
    EXPECT_TRUE(fake.Device->SettingsChanged());
    // Applying clears the flag; the same orientation again does not raise it.
    fake.Device->Handle();
    fake.Device->ApplyDevMode(false);
    EXPECT_FALSE(fake.Device->SettingsChanged());
    fake.Device->SetOrientation(1);
    EXPECT_FALSE(fake.Device->SettingsChanged());
}

TEST(PrinterSettings, AnOrientationByteBeyondLandscapeChangesNothing) {
    FakeDevice fake;
    fake.Device->SetOrientation(7);
    EXPECT_EQ(fake.Device->DevMode()->dmOrientation, DMORIENT_PORTRAIT);
    EXPECT_FALSE(fake.Device->SettingsChanged());
}

struct CopiesCase {
    int32_t count;
    int16_t stored;
};

class CopiesTable : public testing::TestWithParam<CopiesCase> {};

TEST_P(CopiesTable, ACountFromOneToTheDriversMaximumIsWritten) {
    FakeDevice fake;
    fake.Setup->MaxCopies = 99;
    fake.Device->SetCopies(GetParam().count);
    EXPECT_EQ(fake.Device->DevMode()->dmCopies, GetParam().stored);
    EXPECT_EQ(fake.Device->SettingsChanged(), GetParam().stored != 1);
}

INSTANTIATE_TEST_SUITE_P(Counts, CopiesTable,
                         testing::Values(CopiesCase{3, 3}, CopiesCase{98, 98}, CopiesCase{99, 99},
                                         CopiesCase{100, 1}, CopiesCase{0, 1}, CopiesCase{-4, 1},
                                         CopiesCase{1, 1}));

TEST(PrinterSettings, MaxCopiesComesFromTheDriver) {
    FakeDevice fake;
    fake.Setup->MaxCopies = 250;
    EXPECT_EQ(fake.Device->MaxCopies(), 250);
}

TEST(PrinterSettings, DuplexAndCollateNeedTheRecordToSupportThem) {
    FakeDevice fake;
    TDevMode& record = *fake.Device->DevMode();
    fake.Device->SetDuplex(2);
    fake.Device->SetCollate(true);
    EXPECT_EQ(record.dmDuplex, DMDUP_HORIZONTAL);
    EXPECT_EQ(record.dmCollate, DMCOLLATE_TRUE);
    EXPECT_TRUE(fake.Device->SettingsChanged());

    FakeDevice plain;
    plain.Setup->Defaults.dmFields = DM_ORIENTATION | DM_COPIES;
    plain.Setup->Defaults.dmDuplex = 0;
    plain.Device->SelectPrinterIndex(0);
    EXPECT_FALSE(plain.Device->SupportsDuplex());
    EXPECT_FALSE(plain.Device->SupportsCollate());
    plain.Device->SetDuplex(1);
    plain.Device->SetCollate(true);
    EXPECT_EQ(plain.Device->DevMode()->dmDuplex, 0);
    EXPECT_EQ(plain.Device->DevMode()->dmCollate, DMCOLLATE_FALSE);
    EXPECT_FALSE(plain.Device->SettingsChanged());
}

TEST(PrinterSettings, CollateOffWhenAlreadyOffChangesNothing) {
    FakeDevice fake;
    fake.Device->SetCollate(false);
    EXPECT_FALSE(fake.Device->SettingsChanged());
}

class BinsTest : public testing::Test {
protected:
    void SetUp() override {
        fake.Setup->BinList = {{"Upper Tray", 1},
                               {"Manual Feed", 4},
                               {"Lower TRAY", 2},
                               {"Envelope Feeder Extra Wide", 5}};
    }
    FakeDevice fake;
};

TEST_F(BinsTest, NamesAreReadFromFixedFieldsWithTheirNumbers) {
    const TStringList& bins = fake.Device->Bins();
    ASSERT_EQ(bins.Count(), 4u);
    EXPECT_EQ(bins.Strings(1), "Manual Feed");
    EXPECT_EQ(fake.Device->BinNumber(1), 4);
    // A name that fills its 24-byte field ends at the field's end.
    EXPECT_EQ(bins.Strings(3), "Envelope Feeder Extra Wi");
    EXPECT_EQ(fake.Device->BinNumber(3), 5);
}

TEST_F(BinsTest, ContainedTextPicksTheFirstMatchingBinInAnyCase) {
    TDevMode& record = *fake.Device->DevMode();
    EXPECT_TRUE(fake.Device->SelectBin("tray", false));
    EXPECT_EQ(record.dmDefaultSource, 1);
    EXPECT_TRUE(record.dmFields & DM_DEFAULTSOURCE);
    EXPECT_TRUE(fake.Device->SettingsChanged());
    EXPECT_TRUE(fake.Device->SelectBin("LOWER", false));
    EXPECT_EQ(record.dmDefaultSource, 2);
}

TEST_F(BinsTest, ABinAlreadyChosenStillAnswersTrue) {
    fake.Device->DevMode()->dmDefaultSource = 4;
    EXPECT_TRUE(fake.Device->SelectBin("manual", false));
    EXPECT_FALSE(fake.Device->SettingsChanged());
}

TEST_F(BinsTest, ExactNamesCaseAndEmptyNames) {
    EXPECT_FALSE(fake.Device->SelectBin("upper tray", true));
    EXPECT_TRUE(fake.Device->SelectBin("Upper Tray", true));
    EXPECT_FALSE(fake.Device->SelectBin("Cassette", false));
    // An empty name asks for no bin, so the source stays as the printer set it.
    fake.Device->DevMode()->dmDefaultSource = 7;
    EXPECT_FALSE(fake.Device->SelectBin("", false));
    EXPECT_EQ(fake.Device->DevMode()->dmDefaultSource, 7);
}

TEST_F(BinsTest, APrinterWithoutARecordSelectsNoBin) {
    FakeDevice noRecord;
    noRecord.Setup->HasRecord = false;
    noRecord.Setup->BinList = fake.Setup->BinList;
    EXPECT_FALSE(noRecord.Device->SelectBin("tray", false));
}

TEST_F(BinsTest, TheBinListBelongsToTheSelectedPrinter) {
    EXPECT_EQ(fake.Device->Bins().Count(), 4u);
    fake.Setup->BinList.pop_back();
    EXPECT_EQ(fake.Device->Bins().Count(), 4u); // kept while the printer stays
    fake.Device->SelectPrinterIndex(0);
    EXPECT_EQ(fake.Device->Bins().Count(), 3u);
}

TEST(PrinterSettings, OutputFileNameIsKeptUnlessEmpty) {
    FakeDevice fake;
    fake.Device->SetOutputFileName("out.prn");
    EXPECT_EQ(fake.Device->OutputFileName(), std::optional<std::string>("out.prn"));
    fake.Device->SetOutputFileName("");
    EXPECT_FALSE(fake.Device->OutputFileName().has_value());
}

TEST(PrinterSettings, SelectionAndSettingsAreRefusedWhilePrintingButOrientationAndBinsAreNot) {
    FakeDevice fake;
    fake.Setup->BinList = {{"Tray 1", 1}, {"Tray 2", 2}};
    fake.Device->BeginJob();
    const std::string message = "Invalid method call.  Device already printing.";
    auto expectRefused = [&](auto call) {
        try {
            call();
            ADD_FAILURE() << "not refused";
        } catch (const EQuillet& e) {
            EXPECT_EQ(e.Message(), message);
        }
    };
    expectRefused([&] { fake.Device->SelectPrinterIndex(0); });
    expectRefused([&] { fake.Device->SelectPrinter("Laser 1", true); });
    expectRefused([&] { fake.Device->SetCopies(2); });
    expectRefused([&] { fake.Device->SetDuplex(1); });
    expectRefused([&] { fake.Device->SetCollate(true); });
    expectRefused([&] { fake.Device->SetOutputFileName("x"); });
    expectRefused([&] { fake.Device->BeginJob(); });
    fake.Device->SetOrientation(1);
    EXPECT_TRUE(fake.Device->SelectBin("2", false));
    EXPECT_TRUE(fake.Device->SettingsChanged());
    fake.Device->EndJob();
}

} // namespace
} // namespace rpt
