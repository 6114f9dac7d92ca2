#include "platform/PrintOutputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace rpt {

namespace {

OverwriteConsent& Consent() {
    static OverwriteConsent consent;
    return consent;
}

constexpr size_t kBlockSize = 64 * 1024;

QString Path(const std::string& fileName) { return QString::fromStdString(fileName); }

} // namespace

OverwriteConsent SetOverwriteConsent(OverwriteConsent consent) {
    std::swap(consent, Consent());
    return consent;
}

PrintOutputFile::PrintOutputFile(std::string fileName, bool askBeforeReplacing)
    : fileName_(std::move(fileName)), askBeforeReplacing_(askBeforeReplacing) {}

void PrintOutputFile::Open(const std::string&) {
    const QFileInfo info(Path(fileName_));
    if (info.isDir())
        throw EPrintError("The print file \"" + fileName_ + "\" is a folder.");
    if (askBeforeReplacing_ && info.exists()) {
        const OverwriteConsent& consent = Consent();
        if (!consent || !consent(fileName_))
            throw EPrintError("The print file \"" + fileName_ +
                              "\" already exists and was not replaced.");
    }
}

void PrintOutputFile::Deliver(std::string_view document, const std::function<bool()>& keepGoing) {
    // Written beside the target and renamed at the end, so that a failed or
    // cancelled job leaves any earlier file as it was.
    QSaveFile file(Path(fileName_));
    if (!file.open(QIODevice::WriteOnly))
        throw EPrintError("The print file \"" + fileName_ +
                          "\" cannot be written: " + file.errorString().toStdString());
    for (size_t at = 0; at < document.size(); at += kBlockSize) {
        const size_t length = std::min(kBlockSize, document.size() - at);
        if (file.write(document.data() + at, static_cast<qint64>(length)) !=
            static_cast<qint64>(length))
            throw EPrintError("The print file \"" + fileName_ +
                              "\" cannot be written: " + file.errorString().toStdString());
        if (keepGoing && !keepGoing()) {
            file.cancelWriting();
            return;
        }
    }
    if (!file.commit())
        throw EPrintError("The print file \"" + fileName_ +
                          "\" cannot be written: " + file.errorString().toStdString());
}

} // namespace rpt
