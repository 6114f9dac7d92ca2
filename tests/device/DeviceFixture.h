#pragma once
// Devices over a profile text and the logging fake driver.
#include "device/TQLDevice.h"
#include "fixture/FakePrinter.h"
#include "platform/IniPrinterProfile.h"

#include <memory>
#include <string>

namespace rpt::test {

constexpr const char* kOfficeProfile = R"([DEVICES]
Laser 1=winspool,LPT1:,FILE:
Inkjet=winspool,USB001
Driver Only=winspool
Rendering Subsystem=winspool,Ne00:
[windows]
device=Inkjet,winspool,USB001
)";

struct FakeDevice {
    explicit FakeDevice(const std::string& profile = kOfficeProfile)
        : Log(std::make_shared<fixture::PrinterLog>()),
          Setup(std::make_shared<fixture::FakePrinterSetup>()) {
        auto driver = std::make_unique<fixture::FakePrinterDriver>(Log, Setup);
        Driver = driver.get();
        Device = std::make_unique<TQLDevice>(std::make_unique<IniPrinterProfile>(profile),
                                             std::move(driver));
    }

    std::shared_ptr<fixture::PrinterLog> Log;
    std::shared_ptr<fixture::FakePrinterSetup> Setup;
    fixture::FakePrinterDriver* Driver = nullptr; // owned by the device
    std::unique_ptr<TQLDevice> Device;
};

} // namespace rpt::test
