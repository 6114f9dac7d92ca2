#pragma once
// A printer profile read from text in the profile file's own shape:
// "[SECTION]" lines followed by "key=value" lines, ";" starting a comment.
#include "platform/PrinterProfile.h"

#include <string>
#include <utility>
#include <vector>

namespace rpt {

class IniPrinterProfile : public PrinterProfile {
public:
    explicit IniPrinterProfile(std::string_view text);
    // Raises EFOpenError when the file cannot be read.
    static IniPrinterProfile FromFile(const std::string& fileName);

protected:
    std::vector<std::string> KeyNames(std::string_view section) const override;
    std::optional<std::string> Value(std::string_view section,
                                     std::string_view key) const override;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Section* Find(std::string_view section) const;
    std::vector<Section> sections_;
};

} // namespace rpt
