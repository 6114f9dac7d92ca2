#include "device/EQuillet.h"

namespace rpt {

void RaiseError(const std::string& message) { throw EQuillet(message); }

} // namespace rpt
