#include "viewer/HandlerErrors.h"

#include "platform/Exceptions.h"
#include "platform/UserInterface.h"

#include <exception>

namespace rpt {

void ReportHandlerErrors(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const EAbort&) {
    } catch (const Exception& error) {
        UI().ShowError(error.Message());
    } catch (const std::exception& error) {
        UI().ShowError(error.what());
    }
}

} // namespace rpt
