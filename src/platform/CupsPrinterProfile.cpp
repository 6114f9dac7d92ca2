#include "platform/CupsPrinterProfile.h"

#include "platform/Convert.h"
#include "platform/CupsDestination.h"

#include <cups/cups.h>

#include <algorithm>

namespace rpt {

namespace {

// The profile's values are comma-separated: a comma inside a name would
// split it.
std::string ProfileField(std::string text) {
    std::replace(text.begin(), text.end(), ',', ' ');
    return text;
}

// The scheduler's list of destinations, freed with the object.
class DestinationList {
public:
    DestinationList() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
    ~DestinationList() { cupsFreeDests(count_, dests_); }
    DestinationList(const DestinationList&) = delete;
    DestinationList& operator=(const DestinationList&) = delete;
    int Count() const { return count_; }
    const cups_dest_t& At(int i) const { return dests_[i]; }
    // cupsGetDest with no name answers the default destination.
    const cups_dest_t* Default() const { return cupsGetDest(nullptr, nullptr, count_, dests_); }

private:
    cups_dest_t* dests_ = nullptr;
    int count_;
};

CupsProfileEntry EntryOf(const cups_dest_t& dest) {
    CupsProfileEntry entry;
    entry.Device = dest.name;
    if (dest.instance)
        entry.Device += std::string("/") + dest.instance;
    const char* model = cupsGetOption("printer-make-and-model", dest.num_options, dest.options);
    entry.Driver = ProfileField(model && *model ? model : "CUPS");
    const char* uri = cupsGetOption("device-uri", dest.num_options, dest.options);
    if (!uri || !*uri)
        uri = cupsGetOption("printer-uri-supported", dest.num_options, dest.options);
    entry.Port = ProfileField(uri && *uri ? UriWithoutCredentials(uri) : entry.Device);
    return entry;
}

} // namespace

CupsPrinterProfile::CupsPrinterProfile() {
    const DestinationList list;
    const cups_dest_t* fallback = list.Default();
    for (int i = 0; i < list.Count(); ++i) {
        const cups_dest_t& dest = list.At(i);
        if (&dest == fallback)
            defaultIndex_ = static_cast<int>(entries_.size());
        entries_.push_back(EntryOf(dest));
    }
}

CupsPrinterProfile::CupsPrinterProfile(std::vector<CupsProfileEntry> entries, int defaultIndex)
    : entries_(std::move(entries)), defaultIndex_(defaultIndex) {}

std::vector<std::string> CupsPrinterProfile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (UpperCaseAscii(std::string(section)) == "DEVICES")
        for (const CupsProfileEntry& entry : entries_)
            names.push_back(entry.Device);
    else if (UpperCaseAscii(std::string(section)) == "WINDOWS" && defaultIndex_ >= 0)
        names.push_back("DEVICE");
    return names;
}

std::optional<std::string> CupsPrinterProfile::Value(std::string_view section,
                                                     std::string_view key) const {
    const std::string wantedSection = UpperCaseAscii(std::string(section));
    const std::string wantedKey = UpperCaseAscii(std::string(key));
    if (wantedSection == "DEVICES") {
        for (const CupsProfileEntry& entry : entries_)
            if (UpperCaseAscii(entry.Device) == wantedKey)
                return entry.Driver + "," + entry.Port;
    } else if (wantedSection == "WINDOWS" && wantedKey == "DEVICE" && defaultIndex_ >= 0 &&
               defaultIndex_ < static_cast<int>(entries_.size())) {
        const CupsProfileEntry& entry = entries_[static_cast<size_t>(defaultIndex_)];
        return entry.Device + "," + entry.Driver + "," + entry.Port;
    }
    return std::nullopt;
}

} // namespace rpt
