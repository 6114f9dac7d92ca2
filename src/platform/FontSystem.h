#pragma once
// Fonts, text layout and painting need a GUI application object. A program
// makes its own; the tools and tests that draw without one get a headless
// one made on first use and kept for the life of the process.
namespace rpt {

void EnsureFontSystem();

} // namespace rpt
