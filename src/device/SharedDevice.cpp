#include "device/SharedDevice.h"

#include "device/TQLDevice.h"
#include "platform/PrinterDriver.h"
#include "platform/PrinterProfile.h"

namespace rpt {

namespace {

PrintingSystem NoPrintingSystem() { return {std::make_unique<NoPrinterProfile>(), nullptr}; }

PrintingSystemFactory& Factory() {
    static PrintingSystemFactory factory = NoPrintingSystem;
    return factory;
}

// Destroyed at program end, after every report component.
std::unique_ptr<TQLDevice>& Instance() {
    static std::unique_ptr<TQLDevice> instance;
    return instance;
}

} // namespace

TQLDevice& SharedDevice() {
    std::unique_ptr<TQLDevice>& instance = Instance();
    if (!instance) {
        PrintingSystem system = Factory()();
        instance = std::make_unique<TQLDevice>(std::move(system.Profile), std::move(system.Driver));
    }
    return *instance;
}

bool SharedDeviceCreated() { return Instance() != nullptr; }

void SetPrintingSystemFactory(PrintingSystemFactory factory) {
    Factory() = factory ? factory : NoPrintingSystem;
}

void ReplaceSharedDevice(std::unique_ptr<TQLDevice> device) { Instance() = std::move(device); }

} // namespace rpt
