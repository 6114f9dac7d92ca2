#include "platform/UserInterface.h"

#include "platform/TextCodec.h"

#include <cstdio>

namespace rpt {

namespace {
std::unique_ptr<UserInterface>& Installed() {
    static std::unique_ptr<UserInterface> ui = std::make_unique<ConsoleUserInterface>();
    return ui;
}
} // namespace

UserInterface& UI() { return *Installed(); }

std::unique_ptr<UserInterface> SetUserInterface(std::unique_ptr<UserInterface> ui) {
    if (!ui)
        ui = std::make_unique<ConsoleUserInterface>();
    std::swap(ui, Installed());
    return ui;
}

void ConsoleUserInterface::ShowMessage(const std::string& text) {
    std::fprintf(stderr, "rpt: %s\n", Windows1252ToUtf8(text).c_str());
}

void ConsoleUserInterface::ShowError(const std::string& text) {
    std::fprintf(stderr, "rpt: %s\n", Windows1252ToUtf8(text).c_str());
}

} // namespace rpt
