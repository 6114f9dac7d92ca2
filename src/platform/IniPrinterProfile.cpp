#include "platform/IniPrinterProfile.h"

#include "platform/Convert.h"
#include "platform/Exceptions.h"

#include <fstream>
#include <sstream>

namespace rpt {

namespace {

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

} // namespace

IniPrinterProfile::IniPrinterProfile(std::string_view text) {
    Section* current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            const std::string name(Trim(line.substr(1, close == std::string_view::npos
                                                           ? std::string_view::npos
                                                           : close - 1)));
            current = nullptr;
            for (Section& s : sections_)
                if (SameTextAscii(s.name, name))
                    current = &s;
            if (!current) {
                sections_.push_back(Section{name, {}});
                current = &sections_.back();
            }
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos)
            continue;
        std::string key(Trim(line.substr(0, eq)));
        std::string value(Trim(line.substr(eq + 1)));
        bool replaced = false;
        for (auto& entry : current->entries)
            if (SameTextAscii(entry.first, key)) {
                entry.second = value;
                replaced = true;
            }
        if (!replaced)
            current->entries.emplace_back(std::move(key), std::move(value));
    }
}

IniPrinterProfile IniPrinterProfile::FromFile(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    std::ostringstream text;
    text << file.rdbuf();
    return IniPrinterProfile(text.str());
}

const IniPrinterProfile::Section* IniPrinterProfile::Find(std::string_view section) const {
    for (const Section& s : sections_)
        if (SameTextAscii(s.name, section))
            return &s;
    return nullptr;
}

std::vector<std::string> IniPrinterProfile::KeyNames(std::string_view section) const {
    std::vector<std::string> names;
    if (const Section* s = Find(section))
        for (const auto& entry : s->entries)
            names.push_back(entry.first);
    return names;
}

std::optional<std::string> IniPrinterProfile::Value(std::string_view section,
                                                    std::string_view key) const {
    if (const Section* s = Find(section))
        for (const auto& entry : s->entries)
            if (SameTextAscii(entry.first, key))
                return entry.second;
    return std::nullopt;
}

} // namespace rpt
