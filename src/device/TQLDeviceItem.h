#pragma once
// The names of one listed printer on one port.
#include "platform/Component.h"

#include <string>

namespace rpt {

class TQLDeviceItem : public TObject {
public:
    TQLDeviceItem(std::string deviceName, std::string driverName, std::string portName)
        : DeviceName(std::move(deviceName)), DriverName(std::move(driverName)),
          PortName(std::move(portName)) {}

    const std::string DeviceName;
    const std::string DriverName;
    const std::string PortName;
};

} // namespace rpt
