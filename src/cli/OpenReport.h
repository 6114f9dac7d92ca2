#pragma once
// Opens a report file for the tool's commands.
#include <string>

namespace rpt {
class TFilePrinter;
}

namespace rpt::cli {

// Opens the file read-only and reads its header. False when it cannot be
// opened or read; the reader's error box has then told the user.
bool OpenReport(TFilePrinter& printer, const std::string& path);

} // namespace rpt::cli
