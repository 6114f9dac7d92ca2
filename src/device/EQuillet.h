#pragma once
// The one exception class the report engine and the printer device raise for
// their own errors; the message is its only content.
#include "platform/Exceptions.h"

#include <string>

namespace rpt {

class EQuillet : public Exception {
public:
    using Exception::Exception;
};

// Raises EQuillet with the message unchanged.
[[noreturn]] void RaiseError(const std::string& message);

} // namespace rpt
