// A plain window that appends "press X Y" to the file argv[1] for every mouse press it gets.
// Desktop tests put it under an overlay to see whether clicks pass through.
//   plinkly_click_target LOG X Y WIDTH HEIGHT [COLOUR]
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWidget>

namespace {
class ClickTarget final : public QWidget {
public:
    ClickTarget(QString logPath, const QString &colour) : m_logPath(std::move(logPath))
    {
        setWindowTitle(QStringLiteral("Plinkly click target"));
        setStyleSheet(QStringLiteral("background: %1;").arg(colour));
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        QFile log(m_logPath);
        if (log.open(QIODevice::Append | QIODevice::Text)) {
            const QPoint at = event->globalPosition().toPoint();
            log.write(QStringLiteral("press %1 %2\n").arg(at.x()).arg(at.y()).toUtf8());
        }
    }

private:
    QString m_logPath;
};
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 6)
        return 2;
    ClickTarget target(QString::fromLocal8Bit(argv[1]),
                       argc > 6 ? QString::fromLocal8Bit(argv[6]) : QStringLiteral("#d8dce6"));
    target.setGeometry(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    target.show();
    return app.exec();
}
