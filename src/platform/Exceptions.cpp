#include "platform/Exceptions.h"

namespace rpt {

void Abort() { throw EAbort(); }

} // namespace rpt
