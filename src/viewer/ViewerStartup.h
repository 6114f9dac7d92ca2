#pragma once
// The program's start: the application's title and front end, and the main
// window made from the command line.
#include <memory>
#include <span>

namespace rpt {

class TPreviewForm;

// Titles the application and makes Qt dialogs, event processing and the
// wait cursor the engine's front end.
void SetUpApplication();

// The main window with its caption and the report named by the first
// argument after the program name (further arguments are ignored).
std::unique_ptr<TPreviewForm> CreateMainForm(std::span<char* const> arguments);

} // namespace rpt
