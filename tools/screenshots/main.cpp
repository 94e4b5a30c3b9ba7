#include "SceneRig.h"

#include "Views/Kit/KitControlStyle.h"
#include "Views/Kit/KitStyle.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTextStream>

#include <algorithm>

// plinkly_screenshots OUTPUT_FOLDER [NAME_FRAGMENT]: runs every registered scene (or those
// whose name contains the fragment) in name order, each on a fresh controller, in the light
// and then the dark scheme.
int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    KitControlStyle::install();
    // A pinned font and palette keep the pictures comparable whatever the desktop uses.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    QApplication::setFont(font);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        QTextStream(stderr) << "usage: plinkly_screenshots OUTPUT_FOLDER [NAME_FRAGMENT]\n";
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const QString fragment = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(output);

    std::vector<Scene> scenes = registeredScenes();
    std::sort(scenes.begin(), scenes.end(), [](const Scene &a, const Scene &b) { return a.name < b.name; });
    // Every scene in both schemes; the dark pictures are named "…-dark.png".
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        QApplication::setPalette(KitStyle::palette(scheme));
        for (const Scene &scene : scenes) {
            if (!fragment.isEmpty() && !scene.name.contains(fragment))
                continue;
            SceneRig rig(output, scene.settings, scene.preparePlatform);
            scene.run(rig);
        }
    }
    return 0;
}
