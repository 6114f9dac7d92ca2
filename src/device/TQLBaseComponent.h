#pragma once
// Common base of the report engines.
#include "device/TQLComponent.h"

namespace rpt {

class TQLBaseComponent : public TQLComponent {
public:
    using TQLComponent::TQLComponent;
};

} // namespace rpt
