// Text macros (values known only when a report is shown or printed) and the
// status line.
#include "engine/TBaseReport.h"

#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Exceptions.h"
#include "platform/UserInterface.h"

#include <algorithm>
#include <cctype>

namespace rpt {

namespace {

const std::string kNumberedMarker = "\xFD$QLCM";
const std::string kVariableMarker = "\xFD$QLCV";
constexpr char kNameStart = '\xFC';
constexpr char kNameEnd = '\xFB';
constexpr size_t kMarkerLength = 6;
constexpr size_t kNumberedLength = 8;
// A replacement may hold further markers, which are expanded in turn; a value
// that holds its own marker would do so for ever. Past these bounds the
// markers left are removed without being replaced.
constexpr int kMaxMacroPasses = 10000;
constexpr size_t kMaxExpandedLength = 128 * 1024;
// A marker can be formed across a deletion, starting this far before it.
constexpr size_t kRescanMargin = kMarkerLength + 1;

// Length of the variable macro at q, and its name: the marker, the name
// start byte, the name and the name end byte; without the end byte the
// macro runs to the end of the text.
size_t VariableMacroLength(const std::string& text, size_t q, std::string& name) {
    const size_t after = q + kMarkerLength;
    name.clear();
    if (after < text.size() && after != text.size() - 1 && text[after] == kNameStart) {
        const size_t end = text.find(kNameEnd, after + 1);
        if (end == std::string::npos) {
            name = text.substr(after + 1);
            return text.size() - q;
        }
        name = text.substr(after + 1, end - after - 1);
        return end + 1 - q;
    }
    return std::min(kMarkerLength + 1, text.size() - q);
}

// Removes every macro marker without replacing it.
std::string StripMacros(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    std::string name;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, kMarkerLength, kNumberedMarker) == 0) {
            i += std::min(kNumberedLength, text.size() - i);
        } else if (text.compare(i, kMarkerLength, kVariableMarker) == 0) {
            i += VariableMacroLength(text, i, name);
        } else {
            result += text[i++];
        }
    }
    return result;
}

} // namespace

void TBaseReport::ExpandMacros(std::string& text) {
    size_t from = 0;
    for (int pass = 0;; ++pass) {
        if (pass >= kMaxMacroPasses || text.size() > kMaxExpandedLength) {
            text = StripMacros(text);
            return;
        }
        size_t changedAt = std::string::npos;
        const size_t p = text.find(kNumberedMarker, from);
        if (p != std::string::npos) {
            const std::string digits = text.substr(p + kMarkerLength, 2);
            // Two decimal digits, not cut short by the end of the text.
            if (digits.size() < 2 || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
                !std::isdigit(static_cast<unsigned char>(digits[1])))
                throw EConvertError("'" + digits + "' is not a valid integer value");
            const int32_t number = (digits[0] - '0') * 10 + (digits[1] - '0');
            text.erase(p, kNumberedLength);
            text.insert(p, MacroText(number));
            changedAt = p;
        }
        const size_t q = text.find(kVariableMarker, from);
        if (q != std::string::npos) {
            std::string name;
            text.erase(q, VariableMacroLength(text, q, name));
            text.insert(q, GetReportVar(name));
            changedAt = std::min(changedAt, q);
        }
        if (changedAt == std::string::npos)
            return;
        // Everything before the change has been searched already.
        from = changedAt > kRescanMargin ? changedAt - kRescanMargin : 0;
    }
}

std::string TBaseReport::MacroText(int32_t number) {
    const int32_t n = number & 0xFF;
    switch (n) {
    case 0: return FormatDateTime("ddddd", JobDateTime);
    case 1: return FormatDateTime("dddddd", JobDateTime);
    case 2: return FormatDateTime("mm/dd/yy", JobDateTime);
    case 3: return FormatDateTime("dd/mm/yy", JobDateTime);
    case 4: return FormatDateTime("t", JobDateTime);
    case 5: return FormatDateTime("tt", JobDateTime);
    case 6: return FormatDateTime("hh:nn ampm", JobDateTime);
    case 7: return FormatDateTime("hh:nn", JobDateTime);
    case 8: return IntToStr(FirstPage);
    case 9: return IntToStr(LastPage);
    case 10: return IntToStr(TotalPages);
    case 11:
    case 12: return IntToStr(CurrentPage);
    case 13: return DeviceName();
    case 14: return DriverName();
    case 15: return PortName();
    default:
        if (n >= 16 && n <= 35 && static_cast<size_t>(n - 16) < macroData_.Count())
            return macroData_.Strings(static_cast<size_t>(n - 16));
        return {};
    }
}

std::string TBaseReport::GetReportVar(const std::string& name) { return name; }

void TBaseReport::SetReportVar(const std::string&, const std::string&) {}

std::string TBaseReport::GetUserMacro(int32_t) { return {}; }

void TBaseReport::UpdateStatus() {
    if (!statusLabel_)
        return;
    std::string text = StatusFormat;
    auto codeText = [this](char letter) -> std::string {
        const char code = UpperCaseAscii(std::string(1, letter))[0];
        if (code == '%')
            return "%";
        if (code >= '0' && code <= '9') {
            const auto line = static_cast<size_t>(code - '0');
            return line < statusText_.Count() ? statusText_.Strings(line) : std::string();
        }
        switch (code) {
        case 'C': return IntToStr(StatusCounter1);
        case 'D': return DeviceName();
        case 'F': return IntToStr(FirstPage);
        case 'L': return IntToStr(LastPage);
        case 'N': return "\r";
        case 'P': return IntToStr(CurrentPage);
        case 'R': return DriverName();
        case 'S': return IntToStr(StatusCounter2);
        case 'T': return PortName();
        default: return "<ERROR-%" + std::string(1, code) + ">";
        }
    };
    // p is 1-based, as the scan is described: it stops before a last "%".
    size_t found = text.find('%');
    size_t p = found == std::string::npos ? 0 : found + 1;
    while (p > 0 && p < text.size()) {
        if (text[p - 1] == '%') {
            const std::string inserted = codeText(text[p]);
            text.erase(p - 1, 2);
            text.insert(p - 1, inserted);
            if (!inserted.empty())
                p += inserted.size() - 1;
        }
        ++p;
    }
    statusLabel_->SetText(text);
    UI().ProcessMessages();
}

void TBaseReport::SetStatusLabel(TTextControl* label) {
    if (statusLabel_ == label)
        return;
    if (statusLabel_)
        RemoveFreeNotification(statusLabel_);
    statusLabel_ = label;
    if (label)
        FreeNotification(label);
}

void TBaseReport::Notification(TComponent* component, TOperation operation) {
    TQLBaseComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == statusLabel_)
        statusLabel_ = nullptr;
}

void TBaseReport::SetStatusText(const TStringList& list) { statusText_.AssignTexts(list); }

void TBaseReport::SetMacroData(const TStringList& list) { macroData_.AssignTexts(list); }

} // namespace rpt
