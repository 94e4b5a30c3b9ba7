// Writes the KnockwellResources folder: every sound the application ships, synthesised here, and
// the images it draws.
#include "KeyboardPacks.h"
#include "PetImages.h"
#include "ReactionPacks.h"
#include "ScreenToyPictures.h"
#include "ScreenToySounds.h"
#include "SystemSounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: resgen <KnockwellResources folder> <stamp file>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    const std::pair<const char *, bool (*)(const QString &)> parts[] = {
        {"KeyboardPacks", KeyboardPacks::generate},
        {"ReactionPacks", ReactionPacks::generate},
        {"SystemSounds", SystemSounds::generate},
        // The artwork's folder holds the recordings' folder: written first, so that clearing it
        // does not remove them.
        {"ScreenToys", ScreenToyPictures::generate},
        {"ScreenToys/Audio", ScreenToySounds::generate},
        {"Pet", PetImages::generate},
    };
    for (const auto &[name, generate] : parts) {
        // Start from nothing so that no file of an older generator survives.
        const QString folder = out.filePath(QString::fromUtf8(name));
        QDir(folder).removeRecursively();
        if (!QDir().mkpath(folder) || !generate(folder)) {
            std::fprintf(stderr, "resgen: could not write %s\n", qPrintable(folder));
            ok = false;
        }
    }
    if (!ok)
        return 1;
    QFile stamp(QString::fromLocal8Bit(argv[2]));
    return stamp.open(QIODevice::WriteOnly | QIODevice::Truncate) ? 0 : 1;
}
