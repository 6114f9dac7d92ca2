#include "platform/FontSystem.h"

#include <QGuiApplication>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace rpt {

void EnsureRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR"))
        return;
    const char* tmp = std::getenv("TMPDIR");
    const std::string folder =
        std::string(tmp && *tmp ? tmp : "/tmp") + "/runtime-" + std::to_string(getuid());
    mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
        (info.st_mode & 0777) == 0700)
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
}

void EnsureFontSystem() {
    if (QCoreApplication::instance())
        return;
    // Without a display the offscreen platform still gives real font metrics.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureRuntimeFolder();
    static int argc = 1;
    static char name[] = "rpt";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

} // namespace rpt
