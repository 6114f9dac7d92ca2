#include "cli/ErrorCountingInterface.h"

namespace rpt::cli {

class ErrorCountingInterface::Counting : public ConsoleUserInterface {
public:
    void ShowError(const std::string& text) override {
        ++Errors;
        ConsoleUserInterface::ShowError(text);
    }
    int Errors = 0;
};

ErrorCountingInterface::ErrorCountingInterface() {
    auto counting = std::make_unique<Counting>();
    counting_ = counting.get();
    previous_ = SetUserInterface(std::move(counting));
}

ErrorCountingInterface::~ErrorCountingInterface() { SetUserInterface(std::move(previous_)); }

int ErrorCountingInterface::Errors() const { return counting_->Errors; }

} // namespace rpt::cli
