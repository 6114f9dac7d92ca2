#include "device/TQLCanvas.h"

#include "device/TQLDevice.h"

namespace rpt {

DeviceContext* TQLCanvas::CreateHandle() { return QLDevice.Handle(); }

} // namespace rpt
