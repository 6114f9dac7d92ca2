#pragma once
// The program's start: the application's title and front end, the printing
// system, and the main window made from the command line.
#include <memory>
#include <span>

namespace rpt {

class TPreviewForm;

// Titles the application, makes Qt dialogs, event processing and the wait
// cursor the engine's front end, and asks in a dialog before a print job
// replaces an existing output file.
void SetUpApplication();

// The installed printers are the CUPS destinations.
void UseCupsPrinters();

// The main window with its caption and the report named by the first
// argument after the program name (further arguments are ignored).
std::unique_ptr<TPreviewForm> CreateMainForm(std::span<char* const> arguments);

} // namespace rpt
