#pragma once
// A print job written to a file instead of a printer. An existing file is
// replaced only with the user's consent, asked through an installable hook
// (the viewer asks in a dialog, `rpt print` answers with its --overwrite).
#include "platform/PrintJobSink.h"

#include <functional>
#include <string>

namespace rpt {

// Answers whether the existing file may be replaced.
using OverwriteConsent = std::function<bool(const std::string& fileName)>;
// Installs the hook and answers the previous one; without one (the
// default), existing files are never replaced.
OverwriteConsent SetOverwriteConsent(OverwriteConsent consent);

class PrintOutputFile : public PrintJobSink {
public:
    // With `askBeforeReplacing` false the file is the user's own choice of
    // destination and is replaced without asking.
    PrintOutputFile(std::string fileName, bool askBeforeReplacing);

    void Open(const std::string& title) override;
    void Deliver(std::string_view document, const std::function<bool()>& keepGoing) override;

private:
    std::string fileName_;
    bool askBeforeReplacing_;
};

} // namespace rpt
