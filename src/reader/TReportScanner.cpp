#include "reader/TReportScanner.h"

#include "platform/Stream.h"
#include "reader/TFilePrinter.h"

#include <unordered_set>

namespace rpt {

void TReportScanner::Scan(const PageVisitor& onPage, const CommandVisitor& onCommand) {
    TStream& in = *printer_.InputStream;
    printer_.ResetPagePosition();
    std::unordered_set<int32_t> visited;
    int32_t next = printer_.NextPagePos;
    while (next > 0) {
        if (!visited.insert(next).second)
            printer_.UnexpectedCode();
        in.SetPosition(next);
        printer_.ReadPageHeader();
        TPageInfo page;
        page.Number = printer_.CurrentPage;
        page.Offset = printer_.CurPagePos;
        page.Prev = printer_.PrevPagePos;
        page.Next = printer_.NextPagePos;
        page.Width = printer_.PageWidth;
        page.Height = printer_.PageHeight;
        next = page.Next;
        onPage(page);
        if (onCommand)
            ScanCommands(onCommand);
    }
}

void TReportScanner::ScanCommands(const CommandVisitor& onCommand) {
    TStream& in = *printer_.InputStream;
    // Every command consumes its code byte and the file ends, so the loop
    // ends at the end of page or with the stream's read error.
    for (;;) {
        const int64_t offset = in.Position();
        const uint8_t code = printer_.ReadByte();
        const TCommandSpec* command = FindCommand(code);
        if (!command)
            printer_.UnexpectedCode();
        std::vector<TOperandValue> operands = printer_.ReadOperands(*command);
        if (command->Code == 31) {
            const TRawData& raw = std::get<TRawData>(operands.at(0));
            in.SetPosition(raw.Start + raw.Count);
        }
        onCommand(offset, *command, operands);
        if (code == kEndOfPage)
            return;
    }
}

} // namespace rpt
