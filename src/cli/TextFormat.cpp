#include "cli/TextFormat.h"

#include "platform/TextCodec.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace rpt::cli {

std::string SingleText(double value) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
    return std::string(buffer, result.ptr);
}

std::string QuotedText(std::string_view bytes) {
    std::string text = "\"";
    for (unsigned char c : bytes) {
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            if (c == '"' || c == '\\')
                std::snprintf(escaped, sizeof escaped, "\\%c", c);
            else
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        } else {
            text += Windows1252ToUtf8(std::string_view(reinterpret_cast<const char*>(&c), 1));
        }
    }
    return text + "\"";
}

std::string JsonString(std::string_view bytes) {
    const std::string utf8 = Windows1252ToUtf8(bytes);
    std::string text = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        case '\b': text += "\\b"; break;
        case '\f': text += "\\f"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                text += escaped;
            } else {
                text += static_cast<char>(c);
            }
        }
    }
    return text + "\"";
}

} // namespace rpt::cli
