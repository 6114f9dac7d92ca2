#include "platform/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <map>
#include <memory>

namespace rpt {

const char* CodePageName(uint8_t charset) {
    switch (charset) {
    case SHIFTJIS_CHARSET: return "Shift_JIS";
    case HANGEUL_CHARSET: return "windows-949";
    case GB2312_CHARSET: return "GBK";
    case CHINESEBIG5_CHARSET: return "Big5";
    case GREEK_CHARSET: return "windows-1253";
    case TURKISH_CHARSET: return "windows-1254";
    case VIETNAMESE_CHARSET: return "windows-1258";
    case HEBREW_CHARSET: return "windows-1255";
    case ARABIC_CHARSET: return "windows-1256";
    case BALTIC_CHARSET: return "windows-1257";
    case RUSSIAN_CHARSET: return "windows-1251";
    case THAI_CHARSET: return "windows-874";
    case EASTEUROPE_CHARSET: return "windows-1250";
    case OEM_CHARSET: return "IBM437";
    default: return "windows-1252";
    }
}

std::string DecodeToUtf8(std::string_view bytes, uint8_t charset) {
    if (charset == SYMBOL_CHARSET) {
        QString text;
        text.reserve(static_cast<qsizetype>(bytes.size()));
        for (unsigned char c : bytes)
            text.append(QChar(static_cast<char16_t>(0xF000 + c)));
        return text.toUtf8().toStdString();
    }
    QStringDecoder decoder(CodePageName(charset));
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252");
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return text.toUtf8().toStdString();
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    QStringEncoder encoder("windows-1252");
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QByteArray out = encoder.encode(text);
    return out.toStdString();
}

} // namespace rpt
