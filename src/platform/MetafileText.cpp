#include "platform/MetafileText.h"

#include "platform/TextCodec.h"

#include <QString>
#include <QStringEncoder>

namespace rpt {

std::string EncodeUtf16ForCharset(std::span<const uint8_t> utf16, uint8_t charset) {
    QString text;
    text.reserve(static_cast<qsizetype>(utf16.size() / 2));
    for (size_t i = 0; i + 1 < utf16.size(); i += 2)
        text.append(QChar(static_cast<char16_t>(utf16[i] | (utf16[i + 1] << 8))));
    std::string out;
    if (charset == SYMBOL_CHARSET) {
        // Symbol fonts take their private-use code points back to bytes.
        for (QChar c : text) {
            char16_t u = c.unicode();
            out.push_back(static_cast<char>((u >= 0xF000 && u <= 0xF0FF) || u < 0x100 ? u & 0xFF : '?'));
        }
        return out;
    }
    QStringEncoder encoder(CodePageName(charset));
    if (!encoder.isValid())
        encoder = QStringEncoder("windows-1252");
    out.reserve(static_cast<size_t>(text.size()));
    // One character at a time, so one the code page lacks becomes one '?'.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QByteArray bytes = encoder.encode(QStringView(text).mid(i, length));
        if (encoder.hasError() || bytes.isEmpty()) {
            encoder.resetState();
            out.push_back('?');
        } else {
            out.append(bytes.constData(), static_cast<size_t>(bytes.size()));
        }
        i += length - 1;
    }
    return out;
}

} // namespace rpt
