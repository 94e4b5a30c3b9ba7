#include "Views/Kit/KitControlStyle.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    // Each test process gets a home of its own, removed when it ends, so no run sees what another
    // left behind and tests run side by side never share files. The runtime folder stays: the
    // session's bus and sound servers live there.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/plinkly-test-home-XXXXXX"));
    if (!home.isValid())
        qFatal("No throw-away home folder: %s", qPrintable(home.errorString()));
    qputenv("HOME", QFile::encodeName(home.path()));
    const std::pair<const char *, const char *> folders[] = {{"XDG_CONFIG_HOME", ".config"},
                                                             {"XDG_DATA_HOME", ".local/share"},
                                                             {"XDG_CACHE_HOME", ".cache"},
                                                             {"XDG_STATE_HOME", ".local/state"}};
    for (const auto &[variable, folder] : folders)
        qputenv(variable, QFile::encodeName(home.filePath(QString::fromLatin1(folder))));
    // Standard locations point into test folders under that home, never at the user's own files.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    // The controls as the application draws them.
    KitControlStyle::install();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
