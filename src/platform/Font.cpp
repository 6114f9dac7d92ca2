#include "platform/Font.h"

#include "platform/FontImpl.h"
#include "platform/FontSystem.h"
#include "platform/Rounding.h"
#include "platform/TextCodec.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRawFont>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace rpt {

namespace {

// Glyphs beyond this size would only fill the glyph cache; no page needs them.
constexpr int kMaxPixelSize = 8192;
constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;

uint16_t BigEndian16(const QByteArray& table, int offset) {
    return static_cast<uint16_t>((static_cast<uint8_t>(table[offset]) << 8) |
                                 static_cast<uint8_t>(table[offset + 1]));
}

// A cell height asks for the em that makes the face's Windows ascent plus
// descent that tall.
int EmForCellHeight(QFont font, int64_t cellHeight) {
    font.setPixelSize(1000);
    QRawFont raw = QRawFont::fromFont(font);
    double ratio = 0;
    if (raw.isValid()) {
        QByteArray os2 = raw.fontTable("OS/2");
        if (os2.size() >= 78) {
            int winHeight = BigEndian16(os2, 74) + BigEndian16(os2, 76);
            if (winHeight > 0)
                ratio = raw.unitsPerEm() / winHeight;
        }
    }
    if (ratio <= 0) {
        QFontMetricsF metrics(font);
        double height = metrics.ascent() + metrics.descent();
        ratio = height > 0 ? 1000.0 / height : 1.0;
    }
    return std::max(1, Round(static_cast<double>(cellHeight) * ratio));
}

QString DefaultFace(const LogFont& description) {
    return (description.PitchAndFamily & 0x3) == FIXED_PITCH ? QStringLiteral("Courier New")
                                                             : QStringLiteral("Arial");
}

} // namespace

QString Font::Impl::Decode(std::string_view bytes) const {
    return QString::fromStdString(DecodeToUtf8(bytes, CharSet));
}

std::optional<int64_t> Font::Impl::SumOfAdvances(std::string_view bytes) const {
    // Code pages whose every character is a spacing glyph of a script that
    // never changes shape with its neighbours (unkerned, as the font is).
    switch (CharSet) {
    case ANSI_CHARSET:
    case EASTEUROPE_CHARSET:
    case RUSSIAN_CHARSET:
    case GREEK_CHARSET:
    case TURKISH_CHARSET:
    case BALTIC_CHARSET: break;
    default: return std::nullopt;
    }
    int64_t width = 0;
    for (const char byte : bytes) {
        int32_t& advance = Advances[static_cast<uint8_t>(byte)];
        if (advance == kUnknown) {
            const QString character = Decode(std::string_view(&byte, 1));
            const bool alone = character.size() == 1 && character[0].isPrint() &&
                               !character[0].isMark();
            advance = alone ? Metrics.horizontalAdvance(character[0]) : kNotAlone;
        }
        if (advance == kNotAlone)
            return std::nullopt;
        width += advance;
    }
    return width;
}

Font::Font(const LogFont& description) : description_(description) {
    EnsureFontSystem();
    if (description_.FaceName.size() > LF_FACESIZE - 1)
        description_.FaceName.resize(LF_FACESIZE - 1);

    QFont font;
    QString face = QString::fromStdString(DecodeToUtf8(description_.FaceName, ANSI_CHARSET));
    font.setFamily(face.isEmpty() ? DefaultFace(description_) : face);
    if ((description_.PitchAndFamily & 0x3) == FIXED_PITCH)
        font.setFixedPitch(true);
    int32_t weight = description_.Weight <= 0 ? FW_NORMAL : std::min<int32_t>(description_.Weight, 1000);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(description_.Italic);
    font.setUnderline(description_.Underline);
    font.setStrikeOut(description_.StrikeOut);
    font.setKerning(false);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (description_.Quality == NONANTIALIASED_QUALITY)
        font.setStyleStrategy(QFont::NoAntialias);
    else if (description_.Quality >= ANTIALIASED_QUALITY)
        font.setStyleStrategy(QFont::PreferAntialias);

    // Height 0 asks for the device's default size, which is the canvas default.
    int64_t height = description_.Height == 0 ? -13 : description_.Height;
    int em = height < 0 ? static_cast<int>(std::min<int64_t>(-height, kMaxPixelSize))
                        : EmForCellHeight(font, std::min<int64_t>(height, kMaxPixelSize));
    em = std::clamp(em, 1, kMaxPixelSize);
    font.setPixelSize(em);

    if (description_.Width > 0) {
        QFontMetrics natural(font);
        int average = std::max(1, natural.averageCharWidth());
        int64_t stretch = static_cast<int64_t>(description_.Width) * 100 / average;
        font.setStretch(static_cast<int>(std::clamp<int64_t>(stretch, 1, 4000)));
    }

    impl_ = std::make_unique<Impl>(font);
    impl_->CharSet = description_.CharSet == DEFAULT_CHARSET ? static_cast<uint8_t>(ANSI_CHARSET) : description_.CharSet;
    const QFontMetrics& metrics = impl_->Metrics;
    TextMetric& text = impl_->Text;
    text.tmAscent = metrics.ascent();
    text.tmDescent = metrics.descent();
    text.tmHeight = text.tmAscent + text.tmDescent;
    text.tmInternalLeading = std::max(0, text.tmHeight - em);
    text.tmExternalLeading = std::max(0, metrics.leading());
    text.tmAveCharWidth = metrics.averageCharWidth();
    text.tmMaxCharWidth = metrics.maxWidth();
    text.tmWeight = weight;
    text.tmCharSet = impl_->CharSet;
}

Font::~Font() = default;

std::shared_ptr<const Font> Font::Create(const LogFont& description) {
    return std::shared_ptr<const Font>(new Font(description));
}

const TextMetric& Font::Metrics() const { return impl_->Text; }

TSize Font::TextExtent(std::string_view bytes) const {
    if (bytes.empty())
        return TSize{0, impl_->Text.tmHeight};
    // Measuring is the hot path of layout: sum cached advances where that
    // gives what shaping the whole string would.
    if (const std::optional<int64_t> width = impl_->SumOfAdvances(bytes))
        return TSize{static_cast<int32_t>(std::min<int64_t>(*width, INT32_MAX)), impl_->Text.tmHeight};
    return TSize{impl_->Metrics.horizontalAdvance(impl_->Decode(bytes)), impl_->Text.tmHeight};
}

std::string Font::ActualFamily() const { return QFontInfo(impl_->Qt).family().toStdString(); }

namespace {

// The family a face resolves to through the font system's substitutions, or
// empty when the face only falls back to the default family.
QString InstalledFamily(const QString& face) {
    static const QString fallback = QFontInfo(QFont(QStringLiteral("rpt no such face"))).family();
    QStringList families = QFontDatabase::families();
    for (const QString& family : families)
        if (family.compare(face, Qt::CaseInsensitive) == 0)
            return family;
    QString resolved = QFontInfo(QFont(face)).family();
    if (resolved.compare(fallback, Qt::CaseInsensitive) == 0)
        return {};
    return resolved;
}

bool Covers(const QRawFont& raw, char32_t character) {
    return raw.isValid() && raw.supportsCharacter(character);
}

} // namespace

std::vector<uint8_t> EnumFontCharsets(std::string_view faceName) {
    EnsureFontSystem();
    std::string cut(faceName.substr(0, LF_FACESIZE - 1));
    QString face = QString::fromStdString(DecodeToUtf8(cut, ANSI_CHARSET));
    if (face.isEmpty())
        return {};
    QString family = InstalledFamily(face);
    if (family.isEmpty())
        return {};

    std::vector<uint8_t> charsets;
    auto add = [&charsets](uint8_t charset) {
        if (std::find(charsets.begin(), charsets.end(), charset) == charsets.end())
            charsets.push_back(charset);
    };
    QFont probe(family);
    probe.setPixelSize(32);
    QRawFont raw = QRawFont::fromFont(probe);
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    for (QFontDatabase::WritingSystem system : systems) {
        switch (system) {
        case QFontDatabase::Latin:
            add(ANSI_CHARSET);
            if (Covers(raw, U'\u0150'))
                add(EASTEUROPE_CHARSET);
            if (Covers(raw, U'\u011E'))
                add(TURKISH_CHARSET);
            if (Covers(raw, U'\u0116'))
                add(BALTIC_CHARSET);
            break;
        case QFontDatabase::Greek: add(GREEK_CHARSET); break;
        case QFontDatabase::Cyrillic: add(RUSSIAN_CHARSET); break;
        case QFontDatabase::Hebrew: add(HEBREW_CHARSET); break;
        case QFontDatabase::Arabic: add(ARABIC_CHARSET); break;
        case QFontDatabase::Thai: add(THAI_CHARSET); break;
        case QFontDatabase::Vietnamese: add(VIETNAMESE_CHARSET); break;
        case QFontDatabase::Japanese: add(SHIFTJIS_CHARSET); break;
        case QFontDatabase::Korean: add(HANGEUL_CHARSET); break;
        case QFontDatabase::SimplifiedChinese: add(GB2312_CHARSET); break;
        case QFontDatabase::TraditionalChinese: add(CHINESEBIG5_CHARSET); break;
        case QFontDatabase::Symbol: add(SYMBOL_CHARSET); break;
        default: break;
        }
    }
    // A face with no writing system the font system recognises is a symbol font.
    if (charsets.empty())
        add(SYMBOL_CHARSET);
    return charsets;
}

} // namespace rpt
