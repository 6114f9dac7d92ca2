#pragma once
// The text-translation hook: every message the engine raises or shows, and a
// few captions, pass through it. The default answers the text unchanged.
#include <string>

namespace rpt {

using TTranslateProc = void (*)(const std::string& text, std::string& result);

void DefaultTranslate(const std::string& text, std::string& result);

// The installed hook; DefaultTranslate from program start.
extern TTranslateProc TranslateProc;

// The text passed through TranslateProc (unchanged when no hook is installed).
std::string Translate(const std::string& text);

} // namespace rpt
