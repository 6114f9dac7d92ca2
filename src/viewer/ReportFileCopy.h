#pragma once
// Saving a byte-for-byte copy of the report file shown.
#include <QString>

namespace rpt {

// True when both names lead to one file: the same canonical path, or the
// same device and inode (hard links, bind mounts).
bool IsSameFile(const QString& first, const QString& second);

// Copies `source` to `target`, replacing a file of that name only once the
// whole copy is written, so a failed copy leaves the old file as it was.
// Raises EStreamError with the reason when the copy cannot be made.
void CopyReportFile(const QString& source, const QString& target);

} // namespace rpt
