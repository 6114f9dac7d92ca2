#pragma once
// Fonts, text layout and painting need a GUI application object. A program
// makes its own; the tools and tests that draw without one get a headless
// one made on first use and kept for the life of the process.
namespace rpt {

void EnsureFontSystem();

// Batch runs (cron, ssh, CI) often have no session runtime folder; Qt then
// falls back to a private one of its own but warns on every start. Making
// that same private folder beforehand keeps the programs' error output
// clean. Call before the application object is made.
void EnsureRuntimeFolder();

} // namespace rpt
