#include "platform/CupsPrinterDriver.h"

#include "platform/CupsDestination.h"
#include "platform/CupsPrintJob.h"
#include "platform/PrintOutputFile.h"

#include <algorithm>
#include <cstring>

namespace rpt {

namespace {

class CupsPrinterConnection : public PrinterConnection {
public:
    explicit CupsPrinterConnection(std::shared_ptr<const CupsDestination> destination)
        : destination_(std::move(destination)) {}

    int32_t DocumentProperties(TDevMode* out, const TDevMode* in, uint32_t mode) override {
        if (mode == 0)
            return sizeof(TDevMode);
        if (!(mode & DM_OUT_BUFFER) || !out)
            return 1;
        TDevMode settings = destination_->DefaultSettings();
        if ((mode & DM_IN_BUFFER) && in)
            Merge(settings, *in);
        *out = settings;
        return 1;
    }

private:
    // The fields the record asks for, where the printer has them.
    static void Merge(TDevMode& settings, const TDevMode& in) {
        const uint32_t fields = in.dmFields & settings.dmFields;
        if (fields & DM_ORIENTATION)
            settings.dmOrientation = in.dmOrientation;
        if (fields & DM_PAPERSIZE)
            settings.dmPaperSize = in.dmPaperSize;
        if (fields & DM_PAPERLENGTH)
            settings.dmPaperLength = in.dmPaperLength;
        if (fields & DM_PAPERWIDTH)
            settings.dmPaperWidth = in.dmPaperWidth;
        if (fields & DM_COPIES)
            settings.dmCopies = in.dmCopies;
        if (fields & DM_DEFAULTSOURCE)
            settings.dmDefaultSource = in.dmDefaultSource;
        if (fields & DM_DUPLEX)
            settings.dmDuplex = in.dmDuplex;
        if (fields & DM_COLLATE)
            settings.dmCollate = in.dmCollate;
    }

    std::shared_ptr<const CupsDestination> destination_;
};

} // namespace

CupsPrinterDriver::CupsPrinterDriver() = default;
CupsPrinterDriver::~CupsPrinterDriver() = default;

const CupsDestination* CupsPrinterDriver::Lookup(const std::string& device) {
    auto found = destinations_.find(device);
    if (found == destinations_.end())
        found = destinations_.emplace(device, CupsDestination::Find(device)).first;
    return found->second.get();
}

std::unique_ptr<PrinterConnection> CupsPrinterDriver::OpenPrinter(const std::string& deviceName) {
    // Opening looks again, so that a printer removed since the list was
    // read is not opened.
    std::shared_ptr<const CupsDestination> destination = CupsDestination::Find(deviceName);
    destinations_[deviceName] = destination;
    if (!destination)
        return nullptr;
    return std::make_unique<CupsPrinterConnection>(std::move(destination));
}

bool CupsPrinterDriver::Knows(const std::string& device) { return Lookup(device) != nullptr; }

PageGeometry CupsPrinterDriver::PageFor(const std::string& device, const TDevMode* devMode) {
    const CupsDestination* destination = Lookup(device);
    if (!destination)
        return PageGeometry::From(PrinterMedia{}, false, 600);
    const TDevMode settings = devMode ? *devMode : destination->DefaultSettings();
    return PageGeometry::From(destination->MediaFor(settings),
                              settings.dmOrientation == DMORIENT_LANDSCAPE,
                              destination->Resolution());
}

std::unique_ptr<PrintJobSink> CupsPrinterDriver::SinkFor(const std::string& device,
                                                         const TDevMode& settings,
                                                         const TDocInfo& info) {
    if (info.Output)
        return std::make_unique<PrintOutputFile>(*info.Output, true);
    return std::make_unique<CupsPrintJob>(device, settings);
}

int32_t CupsPrinterDriver::DeviceCapabilities(const std::string& device, const std::string&,
                                              uint16_t capability, std::span<uint8_t> output,
                                              const TDevMode*) {
    const CupsDestination* destination = Lookup(device);
    if (!destination)
        return -1;
    switch (capability) {
    case DC_COPIES: return destination->MaxCopies();
    case DC_BINNAMES:
    case DC_BINS: {
        const auto bins = destination->Bins();
        const auto count = static_cast<int32_t>(bins.size());
        if (output.empty())
            return count;
        if (capability == DC_BINNAMES) {
            const size_t fits = std::min(bins.size(), output.size() / kBinNameLength);
            for (size_t i = 0; i < fits; ++i) {
                uint8_t* name = output.data() + i * kBinNameLength;
                std::memset(name, 0, kBinNameLength);
                std::memcpy(name, bins[i].first.data(),
                            std::min<size_t>(bins[i].first.size(), kBinNameLength));
            }
            return static_cast<int32_t>(fits);
        }
        const size_t fits = std::min(bins.size(), output.size() / 2);
        for (size_t i = 0; i < fits; ++i) {
            output[i * 2] = static_cast<uint8_t>(bins[i].second & 0xFF);
            output[i * 2 + 1] = static_cast<uint8_t>(bins[i].second >> 8);
        }
        return static_cast<int32_t>(fits);
    }
    default: return -1;
    }
}

} // namespace rpt
