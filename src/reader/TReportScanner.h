#pragma once
// Walks a report file the way a listing needs it: every page record along
// the next-page links from the first, and every command of a page with its
// decoded operands, without drawing anything. The walk is bounded: a chain
// that comes back to a record already visited raises the reader's error.
#include "reader/ReportFormat.h"
#include "reader/ReportOperands.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace rpt {

class TFilePrinter;

struct TPageInfo {
    int32_t Number = 0;
    int32_t Offset = 0;
    int32_t Prev = 0;
    int32_t Next = 0;
    double Width = 0;  // inches; the header's size before format 2000
    double Height = 0;
};

class TReportScanner {
public:
    using PageVisitor = std::function<void(const TPageInfo& page)>;
    using CommandVisitor = std::function<void(int64_t offset, const TCommandSpec& command,
                                              const std::vector<TOperandValue>& operands)>;

    // The printer's file must be open with its header read.
    explicit TReportScanner(TFilePrinter& printer) : printer_(printer) {}

    // Visits each page record; when commands is set, also each command of
    // the page, up to and including the end of page. A page is visited
    // before its commands are read, so a listing shows what was read when a
    // later record or command turns out malformed.
    void Scan(const PageVisitor& onPage, const CommandVisitor& onCommand);
    // Visits the commands that follow the stream position, up to the end of page.
    void ScanCommands(const CommandVisitor& onCommand);

private:
    TFilePrinter& printer_;
};

} // namespace rpt
