#pragma once
// The printer device's canvas: it always draws on the device's current
// context, an information context between jobs and the job's device context
// while one runs.
#include "platform/Canvas.h"

namespace rpt {

class TQLDevice;

class TQLCanvas : public TCanvas {
public:
    explicit TQLCanvas(TQLDevice& device) : QLDevice(device) {}

    TQLDevice& QLDevice;

protected:
    DeviceContext* CreateHandle() override;
};

} // namespace rpt
