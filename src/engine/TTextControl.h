#pragma once
// A control that shows one line of text, such as the label that displays a
// report's status line. Front ends derive their own labels from it.
#include "platform/Component.h"

#include <string>

namespace rpt {

class TTextControl : public TComponent {
public:
    using TComponent::TComponent;
    virtual void SetText(const std::string& text) = 0;
};

} // namespace rpt
