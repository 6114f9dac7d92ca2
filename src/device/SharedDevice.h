#pragma once
// The one printer device of the process.
#include <memory>

namespace rpt {

class PrinterDriver;
class PrinterProfile;
class TQLDevice;

// The process-wide device; the first call makes it from the installed
// printing system (none installed: a device without printers).
TQLDevice& SharedDevice();
bool SharedDeviceCreated();

// What the first SharedDevice call builds the device from. A printing
// backend installs its profile and driver at start-up, before any report
// component is made.
struct PrintingSystem {
    std::unique_ptr<PrinterProfile> Profile;
    std::unique_ptr<PrinterDriver> Driver;
};
using PrintingSystemFactory = PrintingSystem (*)();
void SetPrintingSystemFactory(PrintingSystemFactory factory);

// Puts a device in place of the shared one (destroying the old one); null
// leaves none, so the next SharedDevice call makes a fresh one.
void ReplaceSharedDevice(std::unique_ptr<TQLDevice> device);

} // namespace rpt
