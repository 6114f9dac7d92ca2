#pragma once
// The application's error box around the window's handlers: an error that
// leaves a handler is shown with its message and the window goes on; the
// silent abort shows nothing.
#include <functional>

namespace rpt {

void ReportHandlerErrors(const std::function<void()>& handler);

} // namespace rpt
