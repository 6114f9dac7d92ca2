#include "platform/PdfSpoolingDriver.h"

#include "platform/PdfDeviceContext.h"

namespace rpt {

namespace {

// The printer's name and current settings travel with the context.
class SpoolingContext : public PdfDeviceContext {
public:
    SpoolingContext(Kind kind, const PageGeometry& page, std::string device,
                    const TDevMode* devMode)
        : PdfDeviceContext(kind, page), Device(std::move(device)),
          Settings(devMode ? *devMode : TDevMode{}) {}
    std::string Device;
    TDevMode Settings;
};

SpoolingContext* Spooling(DeviceContext& context) {
    return dynamic_cast<SpoolingContext*>(&context);
}

} // namespace

std::unique_ptr<DeviceContext> PdfSpoolingDriver::MakeContext(bool deviceContext,
                                                              const std::string& device,
                                                              const TDevMode* devMode) {
    if (!Knows(device))
        return nullptr;
    return std::make_unique<SpoolingContext>(
        deviceContext ? PdfDeviceContext::Kind::Device : PdfDeviceContext::Kind::Information,
        PageFor(device, devMode), device, devMode);
}

std::unique_ptr<DeviceContext> PdfSpoolingDriver::CreateIC(const std::string&,
                                                           const std::string& device,
                                                           const std::string&,
                                                           const TDevMode* devMode) {
    return MakeContext(false, device, devMode);
}

std::unique_ptr<DeviceContext> PdfSpoolingDriver::CreateDC(const std::string&,
                                                           const std::string& device,
                                                           const std::string&,
                                                           const TDevMode* devMode) {
    return MakeContext(true, device, devMode);
}

bool PdfSpoolingDriver::ResetDC(DeviceContext& context, const TDevMode& devMode) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling)
        return false;
    spooling->Settings = devMode;
    spooling->SetPage(PageFor(spooling->Device, &devMode));
    return true;
}

void PdfSpoolingDriver::SetAbortProc(DeviceContext& context, std::function<bool(int)> proc) {
    if (SpoolingContext* spooling = Spooling(context))
        spooling->SetAbortProc(std::move(proc));
}

int PdfSpoolingDriver::StartDoc(DeviceContext& context, const TDocInfo& info) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling || spooling->ContextKind() != PdfDeviceContext::Kind::Device)
        return -1;
    spooling->StartDoc(info.DocName, SinkFor(spooling->Device, spooling->Settings, info));
    return 1;
}

int PdfSpoolingDriver::StartPage(DeviceContext& context) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling || !spooling->DocumentOpen())
        return -1;
    spooling->StartPage();
    ++pagesStarted_;
    return 1;
}

int PdfSpoolingDriver::EndPage(DeviceContext& context) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling || !spooling->DocumentOpen())
        return -1;
    spooling->EndPage();
    // Between pages the front end gets its turn, as a spooler's abort
    // procedure gives it.
    return spooling->KeepGoing() ? 1 : -1;
}

int PdfSpoolingDriver::EndDoc(DeviceContext& context) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling || !spooling->DocumentOpen())
        return -1;
    spooling->EndDoc();
    return 1;
}

int PdfSpoolingDriver::AbortDoc(DeviceContext& context) {
    SpoolingContext* spooling = Spooling(context);
    if (!spooling)
        return -1;
    spooling->AbortDoc();
    return 1;
}

} // namespace rpt
