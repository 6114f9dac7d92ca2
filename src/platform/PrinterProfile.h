#pragma once
// The system profile that lists the installed printers: section "DEVICES"
// maps each device name to "driver,port[,port...]", and key "DEVICE" of
// section "WINDOWS" names the default printer as "device,driver,port".
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rpt {

class PrinterProfile {
public:
    virtual ~PrinterProfile() = default;

    // Copies into the buffer, NUL-terminated, the value of the key (or the
    // default when the key is missing) and answers its length; a value that
    // does not fit is cut and the answer is buffer size - 1. Without a key it
    // copies the section's key names, each NUL-terminated, followed by one
    // more NUL, and answers the length without that last NUL; a list that
    // does not fit is cut and the answer is buffer size - 2.
    uint32_t GetProfileString(std::string_view section, const std::string* key,
                              std::string_view defaultValue, std::span<char> buffer) const;

protected:
    // Sections and keys are matched without regard to ASCII letter case.
    virtual std::vector<std::string> KeyNames(std::string_view section) const = 0;
    virtual std::optional<std::string> Value(std::string_view section,
                                             std::string_view key) const = 0;
};

// A system without printers: every section is empty.
class NoPrinterProfile : public PrinterProfile {
protected:
    std::vector<std::string> KeyNames(std::string_view) const override { return {}; }
    std::optional<std::string> Value(std::string_view, std::string_view) const override {
        return std::nullopt;
    }
};

} // namespace rpt
