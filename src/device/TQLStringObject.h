#pragma once
// One string, held as the object of a string-list entry.
#include "platform/Component.h"

#include <string>

namespace rpt {

class TQLStringObject : public TObject {
public:
    explicit TQLStringObject(std::string value) : Value(std::move(value)) {}
    std::string Value;
};

} // namespace rpt
