#include "device/TQLComponent.h"

namespace rpt {

namespace {
constexpr const char* kVersion = "rptview 0.10";
static_assert(std::char_traits<char>::length(kVersion) == 12);
} // namespace

TQLComponent::TQLComponent(TComponent* owner) : TComponent(owner), version_(kVersion) {}

void TQLComponent::SetVersion(const TVersion&) {}

} // namespace rpt
