#pragma once
// Where a spooled document goes when its job ends: a printer queue or a file.
#include "platform/Exceptions.h"

#include <functional>
#include <string>
#include <string_view>

namespace rpt {

// A print job that cannot be started or that the spooler refused.
class EPrintError : public Exception {
public:
    using Exception::Exception;
};

class PrintJobSink {
public:
    virtual ~PrintJobSink() = default;
    // Called when the document starts, before any page is drawn: raises
    // EPrintError when the destination cannot take the job.
    virtual void Open(const std::string& title) = 0;
    // Delivers the finished document; `keepGoing` is asked between blocks
    // and answering false cancels the job. Raises EPrintError when the
    // destination refuses it.
    virtual void Deliver(std::string_view document, const std::function<bool()>& keepGoing) = 0;
};

} // namespace rpt
