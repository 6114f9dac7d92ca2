#pragma once
// The tool's front end while a command prints: boxes go to standard error
// as usual, and the error boxes are counted, so that a job that reported a
// failure in a box ends with a failing exit status. Installed for its
// lifetime; the previous front end comes back afterwards.
#include "platform/UserInterface.h"

#include <memory>

namespace rpt::cli {

class ErrorCountingInterface {
public:
    ErrorCountingInterface();
    ~ErrorCountingInterface();
    ErrorCountingInterface(const ErrorCountingInterface&) = delete;
    ErrorCountingInterface& operator=(const ErrorCountingInterface&) = delete;

    int Errors() const;

private:
    class Counting;
    Counting* counting_;
    std::unique_ptr<UserInterface> previous_;
};

} // namespace rpt::cli
