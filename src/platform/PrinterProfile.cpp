#include "platform/PrinterProfile.h"

#include <algorithm>
#include <cstring>

namespace rpt {

uint32_t PrinterProfile::GetProfileString(std::string_view section, const std::string* key,
                                          std::string_view defaultValue,
                                          std::span<char> buffer) const {
    if (buffer.empty())
        return 0;
    const size_t size = buffer.size();
    if (key) {
        const std::optional<std::string> value = Value(section, *key);
        const std::string_view text = value ? std::string_view(*value) : defaultValue;
        const size_t n = std::min(text.size(), size - 1);
        std::memcpy(buffer.data(), text.data(), n);
        buffer[n] = '\0';
        return static_cast<uint32_t>(n);
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    size_t at = 0;
    for (const std::string& name : KeyNames(section)) {
        // Room for the name, its NUL and the list's closing NUL.
        if (at + name.size() + 2 > size) {
            const size_t n = at + 2 <= size ? size - 2 - at : 0;
            std::memcpy(buffer.data() + at, name.data(), n);
            buffer[size - 2] = '\0';
            buffer[size - 1] = '\0';
            return static_cast<uint32_t>(size - 2);
        }
        std::memcpy(buffer.data() + at, name.data(), name.size());
        at += name.size();
        buffer[at++] = '\0';
    }
    buffer[at] = '\0';
    return static_cast<uint32_t>(at);
}

} // namespace rpt
