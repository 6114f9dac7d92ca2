#include "platform/FontSystem.h"

#include <QGuiApplication>

#include <cstdlib>

namespace rpt {

void EnsureFontSystem() {
    if (QCoreApplication::instance())
        return;
    // Without a display the offscreen platform still gives real font metrics.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "rpt";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace rpt
