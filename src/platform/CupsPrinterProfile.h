#pragma once
// The installed printers as the CUPS scheduler lists them, in the shape of
// the system profile: one "DEVICES" key per destination with the value
// "driver,port" (the make and model, and the device URI without any
// credentials), and "WINDOWS"/"DEVICE" naming the default destination
// (which honours the PRINTER and LPDEST variables). Read once, when made.
#include "platform/PrinterProfile.h"

#include <string>
#include <vector>

namespace rpt {

struct CupsProfileEntry {
    std::string Device;
    std::string Driver;
    std::string Port;
};

class CupsPrinterProfile : public PrinterProfile {
public:
    CupsPrinterProfile();
    // For a given list, as the scheduler would answer it.
    CupsPrinterProfile(std::vector<CupsProfileEntry> entries, int defaultIndex);

    const std::vector<CupsProfileEntry>& Entries() const { return entries_; }

protected:
    std::vector<std::string> KeyNames(std::string_view section) const override;
    std::optional<std::string> Value(std::string_view section,
                                     std::string_view key) const override;

private:
    std::vector<CupsProfileEntry> entries_;
    int defaultIndex_ = -1;
};

} // namespace rpt
