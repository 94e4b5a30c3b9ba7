// Stands in for a desktop file manager on the accessibility bus: a window of icons, each an
// accessible image with a file's title at a given place on the screen.
//   plinkly_desktop_icons APPLICATION-NAME TITLE X Y [TITLE X Y ...]
#include <QApplication>
#include <QLabel>
#include <QPixmap>

int main(int argc, char **argv)
{
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 5 || (arguments.size() - 2) % 3 != 0)
        return 2;
    QApplication::setApplicationName(arguments[1]);

    QWidget desktop(nullptr, Qt::FramelessWindowHint);
    desktop.setWindowTitle(QStringLiteral("Plinkly desktop icons"));
    desktop.setGeometry(0, 0, 400, 300);
    QPixmap picture(48, 48);
    picture.fill(Qt::darkGreen);
    for (qsizetype i = 2; i + 2 < arguments.size(); i += 3) {
        auto *icon = new QLabel(&desktop);
        icon->setPixmap(picture);
        icon->setAccessibleName(arguments[i]);
        icon->setGeometry(arguments[i + 1].toInt(), arguments[i + 2].toInt(), 48, 48);
    }
    desktop.show();
    return app.exec();
}
