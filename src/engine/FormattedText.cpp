// Formatted-text codes: splitting strings into runs, applying their font
// changes, and measuring them with tab stops.
#include "engine/FormattedText.h"

#include "engine/TBaseReport.h"
#include "platform/Convert.h"
#include "platform/Exceptions.h"
#include "platform/Rounding.h"

#include <algorithm>

namespace rpt {

void NextCommand(const std::string& s, int32_t& pos, char& letter, std::string& arg) {
    const auto n = static_cast<int32_t>(s.size());
    if (pos == 0)
        pos = 1;
    while (pos <= n && s[pos - 1] != kBlockStart && s[pos - 1] != kCommandSeparator)
        ++pos;
    if (pos > n) {
        letter = ' ';
        return;
    }
    ++pos;
    letter = pos <= n ? s[pos - 1] : '\0';
    ++pos;
    arg.clear();
    while (pos <= n) {
        char c = s[pos - 1];
        if (c == kCommandSeparator || c == kBlockEnd)
            break;
        if (c != kFiller)
            arg.push_back(c);
        ++pos;
    }
}

void SplitRun(const std::string& s, int32_t& pos, std::string& text, std::string& codes) {
    const auto n = static_cast<int32_t>(s.size());
    text.clear();
    codes.clear();
    if (pos < 1)
        pos = 1;
    while (pos <= n) {
        if (s[pos - 1] == kBlockStart) {
            if (!text.empty())
                break;
            while (pos <= n) {
                char c = s[pos - 1];
                codes.push_back(c);
                ++pos;
                if (c == kBlockEnd)
                    break;
            }
            continue;
        }
        text.push_back(s[pos - 1]);
        ++pos;
    }
}

namespace {

// A Z size written with the locale's decimal comma reads as well as with a point.
double ParsePointSize(const std::string& arg) {
    if (auto value = TryStrToFloat(arg))
        return *value;
    std::string dotted = arg;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    if (auto value = TryStrToFloat(dotted))
        return *value;
    return StrToFloat(arg);
}

void ResetStyle(TFontRecord& record) {
    record.Bold = record.Underline = record.Italic = record.StrikeOut = false;
    record.Color = 0;
    record.Pitch = 0;
    record.Charset = 1;
    record.Subscript = record.Superscript = false;
    record.Rotation = 0;
    record.Width = 0;
    record.FontAlign = 0;
}

// Pushes the font for a measurement and brings it back however it ends.
class SavedFont {
public:
    explicit SavedFont(TBaseReport& report) : report_(report) { report_.PushFont(); }
    ~SavedFont() { report_.PopFont(); }
    SavedFont(const SavedFont&) = delete;
    SavedFont& operator=(const SavedFont&) = delete;

private:
    TBaseReport& report_;
};

} // namespace

void TBaseReport::ApplyFormatCodes(const std::string& codes) {
    TFontRecord record = GetFontRecord();
    int32_t pos = 0;
    char letter = ' ';
    std::string arg;
    const auto n = static_cast<int32_t>(codes.size());
    do {
        NextCommand(codes, pos, letter, arg);
        switch (letter) {
        case 'B': record.Bold = arg == "1"; break;
        case 'I': record.Italic = arg == "1"; break;
        case 'U': record.Underline = arg == "1"; break;
        case 'K': record.StrikeOut = arg == "1"; break;
        case 'S': record.Subscript = arg == "1"; break;
        case 'P': record.Superscript = arg == "1"; break;
        case 'C': record.Color = StrToInt(arg); break;
        case 'H':
            if (!arg.empty()) {
                if (arg[0] == 'D')
                    record.Pitch = 0;
                else if (arg[0] == 'F')
                    record.Pitch = 2;
                else if (arg[0] == 'V')
                    record.Pitch = 1;
            }
            break;
        case 'N': record.Name = arg.substr(0, 60); break;
        case 'Z':
            record.Size = ParsePointSize(arg);
            record.Height = record.Size / 72;
            break;
        case 'R':
            record.Name = "Arial";
            record.Size = 12;
            record.Height = 12.0 / 72;
            ResetStyle(record);
            break;
        case 'r': ResetStyle(record); break;
        default: break;
        }
    } while (pos <= n);
    ApplyFontRecord(record);
}

void TBaseReport::NextFormattedRun(const std::string& s, int32_t& pos, std::string& text) {
    std::string codes;
    SplitRun(s, pos, text, codes);
    if (!codes.empty())
        ApplyFormatCodes(codes);
}

int32_t TBaseReport::TabbedTextWidth(const std::string& text, int32_t startX) {
    // A tab step that comes to no whole pixel gives no tab stops: tabs then
    // advance nothing rather than divide by zero.
    const int32_t tab = Round(UnitToInchX(TabStep) * XDPI);
    int64_t x = startX;
    std::string rest = text;
    for (size_t p = rest.find('\t'); p != std::string::npos; p = rest.find('\t')) {
        if (p > 0)
            x += GetTextExtent(rest.substr(0, p)).cx;
        rest.erase(0, p + 1);
        if (tab > 0)
            x = ((x - 1) / tab + 1) * tab;
    }
    x += GetTextExtent(rest).cx;
    return static_cast<int32_t>(std::clamp<int64_t>(x, INT32_MIN, INT32_MAX));
}

int32_t TBaseReport::FormattedTextWidth(const std::string& s) {
    int32_t width = 0;
    {
        SavedFont saved(*this);
        int32_t pos = 1;
        std::string text;
        NextFormattedRun(s, pos, text);
        for (;;) {
            if (!text.empty()) {
                SelectFont();
                struct Deselect {
                    TBaseReport& report;
                    ~Deselect() { report.DeselectFont(); }
                } deselect{*this};
                width = TabbedTextWidth(text, width);
            }
            if (pos > static_cast<int32_t>(s.size()))
                break;
            NextFormattedRun(s, pos, text);
        }
    }
    return width == 0 ? 1 : width;
}

} // namespace rpt
