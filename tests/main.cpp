#include "Views/Kit/KitControlStyle.h"

#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    // Standard locations point into throw-away test folders, never at the user's own files.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // The controls as the application draws them.
    KitControlStyle::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
