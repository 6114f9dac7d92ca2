#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt's dialogs remember folders in the user's settings: keep the tests'
    // settings apart and fresh.
    char configHome[] = "/tmp/test_viewer-config-XXXXXX";
    if (mkdtemp(configHome))
        setenv("XDG_CONFIG_HOME", configHome, 1);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
