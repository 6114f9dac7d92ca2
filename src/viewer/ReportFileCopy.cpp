#include "viewer/ReportFileCopy.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

#include <algorithm>

namespace rpt {

namespace {

[[noreturn]] void CopyFailed(const QString& target, const QString& reason) {
    const QString text = QStringLiteral("Não foi possível salvar o relatório em \"%1\": %2")
                             .arg(target, reason);
    throw EStreamError(Utf8ToWindows1252(text.toStdString()));
}

} // namespace

bool IsSameFile(const QString& first, const QString& second) {
    const QString firstPath = QFileInfo(first).canonicalFilePath();
    if (!firstPath.isEmpty() && firstPath == QFileInfo(second).canonicalFilePath())
        return true;
    struct stat a {}, b {};
    if (::stat(QFile::encodeName(first).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(second).constData(), &b) != 0)
        return false;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void CopyReportFile(const QString& source, const QString& target) {
    if (!QFileInfo(source).isFile())
        CopyFailed(target, QStringLiteral("\"%1\" não é um arquivo comum").arg(source));
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly))
        CopyFailed(target, input.errorString());
    // The size when the copy starts bounds it, whatever the file does meanwhile.
    qint64 remaining = input.size();
    QSaveFile output(target);
    if (!output.open(QIODevice::WriteOnly))
        CopyFailed(target, output.errorString());
    constexpr qint64 kChunk = 64 * 1024;
    QByteArray buffer(kChunk, Qt::Uninitialized);
    while (remaining > 0) {
        const qint64 count = input.read(buffer.data(), std::min(kChunk, remaining));
        if (count < 0)
            CopyFailed(target, input.errorString());
        if (count == 0)
            break;
        if (output.write(buffer.constData(), count) != count)
            CopyFailed(target, output.errorString());
        remaining -= count;
    }
    if (!output.commit())
        CopyFailed(target, output.errorString());
}

} // namespace rpt
