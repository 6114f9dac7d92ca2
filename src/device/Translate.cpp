#include "device/Translate.h"

namespace rpt {

void DefaultTranslate(const std::string& text, std::string& result) { result = text; }

TTranslateProc TranslateProc = DefaultTranslate;

std::string Translate(const std::string& text) {
    if (!TranslateProc)
        return text;
    std::string result;
    TranslateProc(text, result);
    return result;
}

} // namespace rpt
