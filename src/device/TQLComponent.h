#pragma once
// Root of the report components: a platform component that carries the
// components' version, fixed at construction and read-only afterwards.
#include "platform/Component.h"

#include <string>

namespace rpt {

using TVersion = std::string; // at most 20 characters

class TQLComponent : public TComponent {
public:
    explicit TQLComponent(TComponent* owner);

    const TVersion& Version() const { return version_; }
    // Accepted for the sake of stored forms; the version never changes.
    void SetVersion(const TVersion& value);

private:
    TVersion version_;
};

} // namespace rpt
