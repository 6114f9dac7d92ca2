// Fonts: the engine's font record kept in step with the canvas font, realised
// at the device resolution and zoom through a most-recently-used cache.
#include "engine/TBaseReport.h"

#include "platform/DeviceContext.h"
#include "platform/Rounding.h"

#include <cmath>

namespace rpt {

namespace {

// The record keeps at most this many characters of a face name.
constexpr size_t kRecordNameLength = 60;
constexpr TColor kWhite = 0xFFFFFF;
// Super- and subscript fonts are this much smaller.
constexpr double kScriptDivisor = 1.667;

// Sets a flag for its lifetime, so that FontChanged waits for the last setter.
class UpdatingGuard {
public:
    explicit UpdatingGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~UpdatingGuard() { flag_ = false; }
    UpdatingGuard(const UpdatingGuard&) = delete;
    UpdatingGuard& operator=(const UpdatingGuard&) = delete;

private:
    bool& flag_;
};

class DeselectGuard {
public:
    explicit DeselectGuard(TBaseReport& report) : report_(report) {}
    ~DeselectGuard() { report_.DeselectFont(); }
    DeselectGuard(const DeselectGuard&) = delete;
    DeselectGuard& operator=(const DeselectGuard&) = delete;

private:
    TBaseReport& report_;
};

bool SameKey(const TFontRecord& a, const TFontRecord& b) {
    return a.Name == b.Name && a.Pitch == b.Pitch && a.Height == b.Height && a.Bold == b.Bold &&
           a.Underline == b.Underline && a.Italic == b.Italic && a.StrikeOut == b.StrikeOut &&
           a.Rotation == b.Rotation && a.Superscript == b.Superscript &&
           a.Subscript == b.Subscript && a.Charset == b.Charset;
}

// A face installed in one character set only takes that set; a face in
// several (or none) keeps the default.
uint8_t ResolveCharset(const std::vector<uint8_t>& charsets) {
    uint8_t result = 1;
    for (const uint8_t charset : charsets) {
        if (result == 1)
            result = charset;
        else if (charset != result)
            return 1;
    }
    return result;
}

} // namespace

void TBaseReport::SetFontName(const std::string& name) {
    GetCanvas().Font().SetName(name);
    FontChanged();
}

void TBaseReport::SetFontColor(TColor color) {
    GetCanvas().Font().SetColor(color);
    FontChanged();
}

void TBaseReport::SetFontPitch(uint8_t pitch) {
    GetCanvas().Font().SetPitch(static_cast<TFontPitch>(pitch));
    FontChanged();
}

void TBaseReport::SetFontCharset(uint8_t charset) {
    GetCanvas().Font().SetCharset(charset);
    FontRecord.Charset = charset;
    FontDirty = true;
    FontChanged();
}

void TBaseReport::SetFontSize(double points) {
    GetCanvas().Font().SetHeight(Round(YDPI * points / 72 * ScaleY * ZoomFactor / 10000));
    FontChanged();
}

void TBaseReport::SetFontHeight(double u) {
    const int32_t pixels = Round(UnitToInchY(u) * YDPI * ScaleY * ZoomFactor / 10000);
    GetCanvas().Font().SetHeight(pixels <= 0 ? 1 : pixels);
    FontChanged();
}

void TBaseReport::SetStyle(TFontStyle style, bool value) {
    TFont& font = GetCanvas().Font();
    const TFontStyles styles = font.Style();
    font.SetStyle(value ? static_cast<TFontStyles>(styles | style)
                        : static_cast<TFontStyles>(styles & ~style));
    FontChanged();
}

void TBaseReport::SetBold(bool value) { SetStyle(fsBold, value); }
void TBaseReport::SetUnderline(bool value) { SetStyle(fsUnderline, value); }
void TBaseReport::SetItalic(bool value) { SetStyle(fsItalic, value); }
void TBaseReport::SetStrikeOut(bool value) { SetStyle(fsStrikeOut, value); }

void TBaseReport::SetSuperscript(bool value) {
    if (value)
        FontRecord.Subscript = false;
    FontRecord.Superscript = value;
    FontDirty = true;
}

void TBaseReport::SetSubscript(bool value) {
    if (value)
        FontRecord.Superscript = false;
    FontRecord.Subscript = value;
    FontDirty = true;
}

void TBaseReport::SetFontRotation(int32_t degrees) {
    FontRecord.Rotation = static_cast<int16_t>(degrees % 360);
    FontDirty = true;
}

void TBaseReport::SetFontAlign(uint8_t align) { FontRecord.FontAlign = align; }

void TBaseReport::FontChanged(TGraphicsObject* sender) {
    if (savedFontChange_)
        savedFontChange_(sender);
    if (fontUpdating_)
        return;
    const TFont& font = GetCanvas().Font();
    TFontRecord& record = FontRecord;
    const std::string name = font.Name().substr(0, kRecordNameLength);
    if (name != record.Name) {
        FontDirty = true;
        record.Name = name;
    }
    if (font.Color() != record.Color) {
        FontDirty = true;
        record.Color = font.Color();
    }
    if (font.Charset() != record.Charset) {
        FontDirty = true;
        record.Charset = font.Charset();
    }
    if (font.Pitch() != record.Pitch) {
        FontDirty = true;
        record.Pitch = font.Pitch();
    }
    // Widened: a canvas font of any height, even the most negative, converts.
    const int64_t height = std::abs(static_cast<int64_t>(font.Height()));
    const double zoomed = YDPI * ZoomFactor;
    if (height != Round(YDPI * record.Height * ZoomFactor / 100) && zoomed != 0) {
        FontDirty = true;
        record.Height = static_cast<double>(height) * 100 / zoomed;
        record.Size = record.Height * 72;
    }
    const TFontStyles styles = font.Style();
    auto syncStyle = [this](bool& field, bool value) {
        if (field != value) {
            FontDirty = true;
            field = value;
        }
    };
    syncStyle(record.Bold, (styles & fsBold) != 0);
    syncStyle(record.Italic, (styles & fsItalic) != 0);
    syncStyle(record.Underline, (styles & fsUnderline) != 0);
    syncStyle(record.StrikeOut, (styles & fsStrikeOut) != 0);
}

void TBaseReport::HookFontChange() {
    TFont& font = GetCanvas().Font();
    if (!fontChangeHooked_) {
        savedFontChange_ = font.OnChange;
        fontChangeHooked_ = true;
    }
    font.OnChange = [this](TGraphicsObject* sender) { FontChanged(sender); };
    fontUpdating_ = false;
}

void TBaseReport::UnhookFontChange() {
    if (!fontChangeHooked_)
        return;
    GetCanvas().Font().OnChange = savedFontChange_;
    savedFontChange_ = nullptr;
    fontChangeHooked_ = false;
}

void TBaseReport::SetPlainFont(const std::string& name, double points) {
    if (!(points > 0))
        return;
    {
        UpdatingGuard updating(fontUpdating_);
        SetFontName(name);
        SetFontColor(clBlack);
        SetFontPitch(fpDefault);
        SetFontCharset(1);
        SetFontSize(points);
        SetBold(false);
        SetItalic(false);
        SetUnderline(false);
        SetStrikeOut(false);
    }
    FontRecord.Superscript = false;
    FontRecord.Subscript = false;
    FontRecord.Rotation = 0;
    FontRecord.Width = 0;
    FontRecord.FontAlign = 0;
    FontChanged();
}

void TBaseReport::SelectFont() {
    TFontRecord& record = FontRecord;
    if (FontDirty) {
        record.Handle.reset();
        FontDirty = false;
    }
    if (!record.Handle) {
        for (auto node = fontCache_.begin(); node != fontCache_.end(); ++node) {
            if (!SameKey(*node, record))
                continue;
            record.Handle = node->Handle;
            record.Ascent = node->Ascent;
            record.Descent = node->Descent;
            record.InternalLeading = node->InternalLeading;
            if (node != fontCache_.begin())
                fontCache_.splice(fontCache_.begin(), fontCache_, node);
            break;
        }
    }
    TCanvas& canvas = GetCanvas();
    DeviceContext& context = canvas.Handle();
    if (record.Handle) {
        previousFont_ = context.SelectFont(record.Handle);
    } else {
        const bool script = record.Superscript || record.Subscript;
        LogFont description;
        description.Height = script
                                 ? -Round(ZoomFactor / 100 * (record.Height / kScriptDivisor) * YDPI)
                                 : -Round(ZoomFactor / 100 * YDPI * record.Height);
        description.Width = Round(XDPI * record.Width * ZoomFactor / 100);
        description.Escapement = record.Rotation * 10;
        description.Orientation = 0;
        description.Weight = record.Bold ? FW_BOLD : FW_NORMAL;
        description.Italic = record.Italic;
        description.Underline = record.Underline;
        description.StrikeOut = record.StrikeOut;
        description.CharSet = record.Charset == 1
                                  ? ResolveCharset(context.EnumFontCharsets(record.Name))
                                  : record.Charset;
        description.OutPrecision = 0;
        description.ClipPrecision = 0;
        description.Quality = 0;
        description.PitchAndFamily =
            record.Pitch == fpVariable ? VARIABLE_PITCH
                                       : record.Pitch == fpFixed ? FIXED_PITCH : DEFAULT_PITCH;
        description.FaceName = record.Name.substr(0, LF_FACESIZE - 1);
        record.Handle = Font::Create(description);
        previousFont_ = context.SelectFont(record.Handle);
        const TextMetric metrics = context.GetTextMetrics();
        const double c = YDPI * ScaleY * ZoomFactor;
        if (c != 0) {
            record.Ascent = metrics.tmAscent * 10000 / c;
            record.Descent = metrics.tmDescent * 10000 / c;
            record.InternalLeading = metrics.tmInternalLeading * 10000 / c;
        }
        if (script) {
            record.Ascent /= 2;
            record.Descent /= 2;
            record.InternalLeading /= 2;
        }
        fontCache_.push_front(record);
    }
    // A two-colour printer prints any colour but white as black.
    const bool monochromePrinter = context.GetDeviceCaps(NUMCOLORS) == 2 &&
                                   OutputKind() == kOutputPrinter && record.Color != kWhite;
    context.SetTextColor(monochromePrinter ? clBlack
                                           : static_cast<TColor>(ColorToRGB(record.Color)));
}

void TBaseReport::DeselectFont() {
    TCanvas& canvas = GetCanvas();
    DeviceContext& context = canvas.Handle();
    context.SelectFont(previousFont_);
    previousFont_.reset();
    context.SetTextColor(static_cast<TColor>(ColorToRGB(canvas.Font().Color())));
}

void TBaseReport::RefreshFont() {
    if (!FontDirty)
        return;
    SelectFont();
    DeselectFont();
}

void TBaseReport::ClearFontCache() {
    FontRecord.Handle.reset();
    fontCache_.clear();
}

double TBaseReport::TextWidth(const std::string& text) {
    CheckPrinting();
    int32_t cx = 1;
    if (text.find('\x01') != std::string::npos) {
        cx = FormattedTextWidth(text);
    } else if (!text.empty()) {
        SelectFont();
        DeselectGuard deselect(*this);
        cx = GetTextExtent(text).cx;
        if (cx == 0)
            cx = 1;
    }
    return InchToUnitX(cx * ScaleX / (static_cast<double>(XDPI) * 100));
}

TSize TBaseReport::GetTextExtent(const std::string& text) {
    if (text.empty())
        return TSize{0, 0};
    return GetCanvas().Handle().GetTextExtentPoint(text);
}

void TBaseReport::ApplyFontRecord(const TFontRecord& record) {
    {
        UpdatingGuard updating(fontUpdating_);
        SetFontName(record.Name);
        SetFontColor(record.Color);
        SetFontPitch(record.Pitch);
        SetFontCharset(record.Charset);
        SetFontHeight(InchToUnitY(record.Height));
        SetBold(record.Bold);
        SetUnderline(record.Underline);
        SetItalic(record.Italic);
        SetStrikeOut(record.StrikeOut);
    }
    SetSubscript(record.Subscript);
    SetSuperscript(record.Superscript);
    SetFontRotation(record.Rotation);
    SetFontAlign(record.FontAlign);
    FontDirty = true;
    FontChanged();
}

bool TBaseReport::PushFont() {
    if (!CellPrinting)
        fontStack_.push_back(FontRecord);
    return true;
}

bool TBaseReport::PopFont() {
    if (CellPrinting)
        return true;
    if (fontStack_.empty())
        return false;
    ApplyFontRecord(fontStack_.back());
    fontStack_.pop_back();
    return true;
}

} // namespace rpt
