#include "DeviceFixture.h"

#include "device/EQuillet.h"
#include "device/TQLDeviceItem.h"
#include "platform/PrinterProfile.h"

#include <gtest/gtest.h>

#include <cstring>

namespace rpt {
namespace {

using test::FakeDevice;

std::vector<std::string> Names(const TStringList& list) {
    std::vector<std::string> names;
    for (size_t i = 0; i < list.Count(); ++i)
        names.push_back(list.Strings(i));
    return names;
}

TEST(PrinterList, ListsEachPortOfEachDeviceAndSkipsTheRenderingSubsystem) {
    FakeDevice fake;
    const TStringList& printers = fake.Device->Printers();
    EXPECT_EQ(Names(printers),
              (std::vector<std::string>{"Laser 1 on LPT1:", "Laser 1 on FILE:", "Inkjet on USB001"}));
    const auto& item = static_cast<const TQLDeviceItem&>(*printers.Objects(1));
    EXPECT_EQ(item.DeviceName, "Laser 1");
    EXPECT_EQ(item.DriverName, "winspool");
    EXPECT_EQ(item.PortName, "FILE:");
}

TEST(PrinterList, ADeviceNamedLikeTheRenderingSubsystemInOtherLettersIsListed) {
    FakeDevice fake("[DEVICES]\nRENDERING SUBSYSTEM=winspool,Ne01:\n");
    EXPECT_EQ(Names(fake.Device->Printers()),
              (std::vector<std::string>{"RENDERING SUBSYSTEM on Ne01:"}));
}

TEST(PrinterList, IsReadFromAProfileFile) {
    const IniPrinterProfile profile =
        IniPrinterProfile::FromFile(RPT_SOURCE_DIR "/tests/device/data/printers.ini");
    TQLDevice device(std::make_unique<IniPrinterProfile>(profile), nullptr);
    EXPECT_EQ(Names(device.Printers()),
              (std::vector<std::string>{"Office Laser on IP_10.0.0.7", "Label Printer on COM1:"}));
}

TEST(PrinterList, MissingProfileFileIsAnOpenError) {
    EXPECT_THROW(IniPrinterProfile::FromFile(RPT_SOURCE_DIR "/tests/device/data/none.ini"),
                 EFOpenError);
}

// Counts how often the device list is read.
class CountingProfile : public PrinterProfile {
public:
    explicit CountingProfile(std::vector<std::string> devices) : devices_(std::move(devices)) {}
    mutable int ListReads = 0;

protected:
    std::vector<std::string> KeyNames(std::string_view section) const override {
        ++ListReads;
        return section == "DEVICES" ? devices_ : std::vector<std::string>{};
    }
    std::optional<std::string> Value(std::string_view section, std::string_view) const override {
        if (section == "DEVICES")
            return "drv,PORT";
        return std::nullopt;
    }

private:
    std::vector<std::string> devices_;
};

// Names of 15 characters (16 bytes with the terminator), the last one cut
// to lastLength.
std::vector<std::string> DeviceNames(int count, size_t lastLength) {
    std::vector<std::string> devices;
    for (int i = 0; i < count; ++i) {
        char name[24];
        std::snprintf(name, sizeof name, "Printer %07d", i);
        devices.push_back(std::string(name).substr(0, i == count - 1 ? lastLength : 15));
    }
    return devices;
}

TEST(PrinterList, ADeviceListOf896BytesIsReadAgainIntoALargerBuffer) {
    struct Case {
        int count;
        size_t lastLength;
        int reads;
    };
    for (const Case c : {Case{55, 14, 1}, Case{56, 15, 2}, Case{119, 15, 2}, Case{120, 15, 3}, Case{130, 15, 3}}) {
        auto profile = std::make_unique<CountingProfile>(DeviceNames(c.count, c.lastLength));
        const CountingProfile& counting = *profile;
        TQLDevice device(std::move(profile), nullptr);
        ASSERT_EQ(device.Printers().Count(), size_t(c.count)) << c.count;
        EXPECT_EQ(device.Printers().Strings(c.count - 1),
                  DeviceNames(c.count, c.lastLength).back() + " on PORT");
        EXPECT_EQ(counting.ListReads, c.reads) << c.count;
    }
}

TEST(ProfileString, CutsAnOverlongKeyListWithTwoTerminatorsAndAnswersSizeLessTwo) {
    IniPrinterProfile profile("[DEVICES]\nAlpha=a\nBravo=b\n");
    char buffer[9];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(profile.GetProfileString("DEVICES", nullptr, "", buffer), 7u);
    EXPECT_EQ(std::string(buffer, 9), std::string("Alpha\0B\0\0", 9));
    const std::string key = "Alpha";
    char small[3];
    EXPECT_EQ(profile.GetProfileString("devices", &key, "", small), 1u);
    EXPECT_STREQ(small, "a");
    const std::string missing = "Zulu";
    EXPECT_EQ(profile.GetProfileString("DEVICES", &missing, "dflt", small), 2u);
    EXPECT_STREQ(small, "df");
}

struct TokenCase {
    const char* text;
    std::vector<std::string> fields;
};

class NextTokenTable : public testing::TestWithParam<TokenCase> {};

TEST_P(NextTokenTable, SplitsAtCommasSkippingLeadingSpacesOnly) {
    std::string text = GetParam().text;
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    char* cursor = buffer.data();
    std::vector<std::string> fields;
    for (int guard = 0; guard < 10; ++guard) {
        char* field = TQLDevice::NextToken(cursor);
        if (!field)
            break;
        fields.push_back(field);
    }
    EXPECT_EQ(fields, GetParam().fields);
    EXPECT_EQ(cursor, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NextTokenTable,
    testing::Values(TokenCase{"winspool,LPT1:,FILE:", {"winspool", "LPT1:", "FILE:"}},
                    TokenCase{"  drv ,  port", {"drv ", "port"}},
                    TokenCase{"", {""}},
                    TokenCase{"a,,b,", {"a", "", "b", ""}},
                    TokenCase{"\tdrv", {"\tdrv"}}));

TEST(DefaultPrinter, TheProfilesDefaultIsSelectedOnTheFirstIndexRead) {
    FakeDevice fake;
    EXPECT_EQ(fake.Device->PrinterIndex(), 2);
    EXPECT_EQ(fake.Device->DeviceName(), "Inkjet");
    EXPECT_EQ(fake.Device->DriverName(), "winspool");
    EXPECT_EQ(fake.Device->PortName(), "USB001");
}

class DefaultPrinterFallback : public testing::TestWithParam<const char*> {};

TEST_P(DefaultPrinterFallback, SelectsTheLastListedPrinter) {
    FakeDevice fake(std::string("[DEVICES]\nLaser 1=winspool,LPT1:,FILE:\nInkjet=winspool,USB001\n"
                                "[WINDOWS]\n") +
                    GetParam());
    EXPECT_EQ(fake.Device->PrinterIndex(), 2);
    EXPECT_EQ(fake.Device->Printers().Strings(2), "Inkjet on USB001");
}

INSTANTIATE_TEST_SUITE_P(Entries, DefaultPrinterFallback,
                         testing::Values("DEVICE=Laser 1,winspool,LPT9:", "DEVICE=", "",
                                         "DEVICE=Laser 1", "DEVICE=Laser 1,winspool"));

TEST(DefaultPrinter, DeviceAndPortAreMatchedWithoutLetterCase) {
    FakeDevice fake("[DEVICES]\nLaser 1=winspool,LPT1:,FILE:\nInkjet=winspool,USB001\n"
                    "[WINDOWS]\nDEVICE=LASER 1,winspool,file:\n");
    EXPECT_EQ(fake.Device->PrinterIndex(), 1);
    EXPECT_EQ(fake.Device->FindPrinter("laser 1", "lpt1:"), 0);
    EXPECT_EQ(fake.Device->FindPrinter("Laser", "LPT1:"), -1);
}

TEST(NoPrinters, AnEmptyProfileListsNothingAndSelectsNothing) {
    TQLDevice device(nullptr, nullptr);
    EXPECT_TRUE(device.Printers().Empty());
    EXPECT_EQ(device.PrinterIndex(), -2);
    EXPECT_EQ(device.DevMode(), nullptr);
    EXPECT_EQ(device.MaxCopies(), 1);
    EXPECT_EQ(device.Handle(), nullptr);
    EXPECT_EQ(device.State(), dsIC);
    EXPECT_TRUE(device.Bins().Empty());
    EXPECT_FALSE(device.SelectPrinter("Laser", false));
}

struct SelectCase {
    const char* name;
    bool exact;
    bool matched;
    int32_t index; // the selection afterwards
};

class SelectPrinterTable : public testing::TestWithParam<SelectCase> {};

TEST_P(SelectPrinterTable, MatchesExactlyOrByContainedText) {
    FakeDevice fake;
    fake.Device->PrinterIndex(); // the default, Inkjet on USB001
    const SelectCase& c = GetParam();
    EXPECT_EQ(fake.Device->SelectPrinter(c.name, c.exact), c.matched);
    EXPECT_EQ(fake.Device->PrinterIndex(), c.index);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SelectPrinterTable,
    testing::Values(SelectCase{"Laser 1 on FILE:", true, true, 1},
                    SelectCase{"Laser 1", true, true, 0},
                    SelectCase{"laser 1", true, false, 2},
                    SelectCase{"Laser 1 on COM1:", true, false, 2},
                    SelectCase{"laser", false, true, 0},
                    SelectCase{"ON FILE", false, true, 1},
                    SelectCase{"", false, false, 2},
                    SelectCase{"", true, false, 2}));

TEST(SelectPrinterIndex, IgnoresAnIndexPastTheListAndNegativeSelectsTheDefault) {
    FakeDevice fake;
    fake.Device->SelectPrinterIndex(0);
    EXPECT_EQ(fake.Device->PrinterIndex(), 0);
    fake.Device->SelectPrinterIndex(4);
    EXPECT_EQ(fake.Device->PrinterIndex(), 0);
    fake.Device->SelectPrinterIndex(-1);
    EXPECT_EQ(fake.Device->PrinterIndex(), 2);
    EXPECT_EQ(fake.Device->DeviceName(), "Inkjet");
}

TEST(SelectPrinterIndex, ChangingThePrinterReleasesTheOldOneAndItsContext) {
    FakeDevice fake;
    fake.Device->SelectPrinterIndex(0);
    ASSERT_NE(fake.Device->Handle(), nullptr);
    fake.Log->Calls.clear();
    fake.Device->SelectPrinterIndex(1);
    EXPECT_EQ(fake.Device->State(), dsNone);
    EXPECT_EQ(fake.Log->Calls,
              (std::vector<std::string>{"ClosePrinter(Laser 1)", "OpenPrinter(Laser 1)"}));
    fake.Device->Handle();
    EXPECT_EQ(fake.Log->Calls.back(), "CreateIC(Laser 1, FILE:, orientation 1, copies 1)");
}

TEST(LoadPrinter, APrinterThatCannotBeOpenedIsSelectedWithoutARecord) {
    FakeDevice fake;
    fake.Setup->CanOpen = false;
    EXPECT_EQ(fake.Device->PrinterIndex(), 2);
    EXPECT_EQ(fake.Device->DevMode(), nullptr);
    fake.Device->SetOrientation(1);
    fake.Device->SetCopies(3);
    EXPECT_FALSE(fake.Device->SettingsChanged());
    EXPECT_NE(fake.Device->Handle(), nullptr);
    EXPECT_EQ(fake.Log->Calls.back(), "CreateIC(Inkjet, USB001, no record)");
}

TEST(LoadPrinter, ARecordThatCannotBeFilledDropsTheSelectionAndContextsFail) {
    FakeDevice fake;
    fake.Setup->FillFails = true;
    EXPECT_EQ(fake.Device->PrinterIndex(), -2);
    EXPECT_EQ(fake.Device->DevMode(), nullptr);
    try {
        fake.Device->Handle();
        FAIL() << "a context was made without a selected printer";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "No printer is selected.");
    }
    EXPECT_TRUE(fake.Log->Starting("CreateIC").empty());
}

TEST(Context, AFailedContextRaisesWithThePrinterNamesAndIsAskedForAgainLater) {
    FakeDevice fake;
    fake.Setup->ContextFails = true;
    try {
        fake.Device->Handle();
        FAIL() << "no error";
    } catch (const EQuillet& e) {
        EXPECT_EQ(e.Message(), "Invalid Printer - Inkjet on USB001 (winspool)");
    }
    fake.Setup->ContextFails = false;
    EXPECT_NE(fake.Device->Handle(), nullptr);
    EXPECT_EQ(fake.Device->State(), dsIC);
}

} // namespace
} // namespace rpt
