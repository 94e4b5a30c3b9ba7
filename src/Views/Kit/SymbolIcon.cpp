#include "Views/Kit/SymbolIcon.h"

#include "Views/Kit/SymbolArtwork.h"

#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QAbstractButton>
#include <QPainter>
#include <QStyle>
#include <QSvgRenderer>

namespace {

// Symbols the freedesktop icon naming (or Adwaita) covers.
const QHash<QString, QString> themeNames{
    {QStringLiteral("arrow.clockwise"), QStringLiteral("view-refresh")},
    {QStringLiteral("arrow.counterclockwise"), QStringLiteral("object-rotate-left")},
    {QStringLiteral("arrow.down.to.line.compact"), QStringLiteral("go-bottom")},
    {QStringLiteral("chevron.right"), QStringLiteral("go-next")},
    {QStringLiteral("chevron.down"), QStringLiteral("go-down")},
    {QStringLiteral("pause.fill"), QStringLiteral("media-playback-pause")},
    {QStringLiteral("pause.circle"), QStringLiteral("media-playback-pause")},
    {QStringLiteral("pause.circle.fill"), QStringLiteral("media-playback-pause")},
    {QStringLiteral("play.fill"), QStringLiteral("media-playback-start")},
    {QStringLiteral("play.circle.fill"), QStringLiteral("media-playback-start")},
    {QStringLiteral("stop.fill"), QStringLiteral("media-playback-stop")},
    {QStringLiteral("stop.circle"), QStringLiteral("media-playback-stop")},
    {QStringLiteral("plus"), QStringLiteral("list-add")},
    {QStringLiteral("plus.circle.fill"), QStringLiteral("list-add")},
    {QStringLiteral("xmark.circle"), QStringLiteral("process-stop")},
    {QStringLiteral("trash"), QStringLiteral("user-trash")},
    {QStringLiteral("eraser"), QStringLiteral("edit-clear")},
    {QStringLiteral("folder"), QStringLiteral("folder")},
    {QStringLiteral("square.and.arrow.down"), QStringLiteral("document-open")},
    {QStringLiteral("slider.horizontal.3"), QStringLiteral("preferences-system")},
    {QStringLiteral("square.grid.2x2"), QStringLiteral("view-app-grid")},
    {QStringLiteral("checkmark"), QStringLiteral("object-select")},
    {QStringLiteral("checkmark.circle.fill"), QStringLiteral("emblem-default")},
    {QStringLiteral("checkmark.seal.fill"), QStringLiteral("emblem-default")},
    {QStringLiteral("checkmark.shield.fill"), QStringLiteral("security-high")},
    {QStringLiteral("lock.shield.fill"), QStringLiteral("security-high")},
    {QStringLiteral("lock.fill"), QStringLiteral("system-lock-screen")},
    {QStringLiteral("info.circle"), QStringLiteral("dialog-information")},
    {QStringLiteral("exclamationmark.triangle"), QStringLiteral("dialog-warning")},
    {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
    {QStringLiteral("exclamationmark.circle"), QStringLiteral("emblem-important")},
    {QStringLiteral("eye.fill"), QStringLiteral("view-reveal")},
    {QStringLiteral("eye.slash"), QStringLiteral("view-conceal")},
    {QStringLiteral("star.fill"), QStringLiteral("starred")},
    {QStringLiteral("battery.0percent"), QStringLiteral("battery-level-0")},
    {QStringLiteral("battery.25percent"), QStringLiteral("battery-level-30")},
    {QStringLiteral("battery.50percent"), QStringLiteral("battery-level-50")},
    {QStringLiteral("battery.75percent"), QStringLiteral("battery-level-80")},
    {QStringLiteral("battery.100percent"), QStringLiteral("battery-level-100")},
    {QStringLiteral("battery.100percent.bolt"), QStringLiteral("battery-level-100-charged")},
    {QStringLiteral("bolt.fill"), QStringLiteral("ac-adapter")},
    {QStringLiteral("keyboard"), QStringLiteral("input-keyboard")},
    {QStringLiteral("keyboard.fill"), QStringLiteral("input-keyboard")},
    {QStringLiteral("computermouse.fill"), QStringLiteral("input-mouse")},
    {QStringLiteral("desktopcomputer"), QStringLiteral("computer")},
    {QStringLiteral("display.2"), QStringLiteral("video-display")},
    {QStringLiteral("externaldrive.badge.plus"), QStringLiteral("drive-removable-media")},
    {QStringLiteral("camera.fill"), QStringLiteral("camera-photo")},
    {QStringLiteral("camera.viewfinder"), QStringLiteral("applets-screenshooter")},
    {QStringLiteral("shippingbox.fill"), QStringLiteral("package-x-generic")},
    {QStringLiteral("globe"), QStringLiteral("web-browser")},
    {QStringLiteral("book.closed.fill"), QStringLiteral("accessories-dictionary")},
    {QStringLiteral("bookmark"), QStringLiteral("bookmark-new")},
    {QStringLiteral("bookmark.fill"), QStringLiteral("user-bookmarks")},
    {QStringLiteral("pencil.line"), QStringLiteral("document-edit")},
    {QStringLiteral("square.and.pencil"), QStringLiteral("document-edit")},
    {QStringLiteral("checklist"), QStringLiteral("view-list-bullet")},
    {QStringLiteral("speaker.fill"), QStringLiteral("audio-volume-high")},
    {QStringLiteral("speaker.plus.fill"), QStringLiteral("audio-volume-high")},
    {QStringLiteral("speaker.minus.fill"), QStringLiteral("audio-volume-low")},
    {QStringLiteral("timer"), QStringLiteral("alarm")},
    {QStringLiteral("moon.fill"), QStringLiteral("weather-clear-night")},
    {QStringLiteral("sun.max.fill"), QStringLiteral("weather-clear")},
    {QStringLiteral("sun.horizon"), QStringLiteral("daytime-sunrise")},
    {QStringLiteral("cloud.fill"), QStringLiteral("weather-overcast")},
    {QStringLiteral("wind"), QStringLiteral("weather-windy")},
};

// Our artwork uses black for ink and white for cut-outs; theme icons are one ink colour.
enum class InkModel { blackAndWhite, singleInk };

QImage tinted(QImage image, const QColor &tint, InkModel model)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb ink = tint.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            double alpha = qAlpha(pixel) / 255.0;
            if (model == InkModel::blackAndWhite && alpha > 0)
                alpha *= 1.0 - qGray(pixel) / 255.0;
            alpha *= tint.alphaF();
            line[x] = qRgba(qRed(ink), qGreen(ink), qBlue(ink), int(alpha * 255 + 0.5));
        }
    }
    return image;
}

class SymbolIconEngine final : public QIconEngine {
public:
    // `trailingGap` is empty room after the symbol, a share of the icon's height.
    SymbolIconEngine(QString symbol, SymbolIcon::Ink ink, double trailingGap = 0)
        : m_symbol(std::move(symbol))
        , m_ink(std::move(ink))
        , m_trailingGap(trailingGap)
    {
    }

    QIconEngine *clone() const override { return new SymbolIconEngine(m_symbol, m_ink, m_trailingGap); }
    QString key() const override { return QStringLiteral("PlinklySymbol"); }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawImage(rect, render(rect.size() * ratio, mode));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        return QPixmap::fromImage(render(size, mode));
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }

private:
    QImage render(const QSize &size, QIcon::Mode mode) const
    {
        QImage source(size, QImage::Format_ARGB32_Premultiplied);
        source.fill(Qt::transparent);
        // With a gap the symbol keeps to the left, as wide as the icon is high.
        const QRectF box(0, 0, m_trailingGap > 0 ? std::min<double>(size.height(), size.width()) : size.width(),
                         size.height());
        InkModel model = InkModel::singleInk;
        if (const QByteArray svg = SymbolArtwork::svg(m_symbol); !svg.isEmpty()) {
            QSvgRenderer renderer(svg);
            QPainter painter(&source);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, box);
            model = InkModel::blackAndWhite;
        } else if (const QString name = themeNames.value(m_symbol); !name.isEmpty()) {
            QIcon themed = QIcon::fromTheme(name + QStringLiteral("-symbolic"));
            if (themed.isNull())
                themed = QIcon::fromTheme(name);
            QPainter painter(&source);
            themed.paint(&painter, box.toRect());
        }
        QColor tint = m_ink();
        if (mode == QIcon::Disabled)
            tint.setAlphaF(tint.alphaF() * 0.35f);
        return tinted(source, tint, model);
    }

    QString m_symbol;
    SymbolIcon::Ink m_ink;
    double m_trailingGap = 0;
};

// Room between a button's icon and its text, and the part of it the style already leaves
// (Qt's push buttons keep 4 px between icon and text, style sheet or not).
constexpr int leadingIconGap = 7;
constexpr int styleIconSpacing = 4;

}

QIcon SymbolIcon::icon(const QString &symbol, const QColor &tint)
{
    return icon(symbol, [tint] { return tint; });
}

QIcon SymbolIcon::icon(const QString &symbol, ColorRole role)
{
    return icon(symbol, [role] { return Appearance::color(role); });
}

QIcon SymbolIcon::icon(const QString &symbol, Ink ink)
{
    if (!isKnown(symbol))
        return {};
    static const bool themeSet = [] {
        // Some platform plugins (offscreen, minimal) search no system folder for themes.
        QStringList searchPaths = QIcon::themeSearchPaths();
        const QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
        for (const QString &dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            if (!searchPaths.contains(dir + QStringLiteral("/icons")))
                searchPaths << dir + QStringLiteral("/icons");
        }
        QIcon::setThemeSearchPaths(searchPaths);
        QIcon::setThemeName(QStringLiteral("Adwaita"));
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
        return true;
    }();
    Q_UNUSED(themeSet);
    return QIcon(new SymbolIconEngine(symbol, std::move(ink)));
}

void SymbolIcon::setLeadingIcon(QAbstractButton *button, const QString &symbol, const QColor &tint)
{
    const QIcon plain = icon(symbol, tint);
    if (plain.isNull()) {
        button->setIcon(plain);
        return;
    }
    // The rest of the gap is drawn into the icon itself.
    const int side = button->style()->pixelMetric(QStyle::PM_ButtonIconSize, nullptr, button);
    const int gap = leadingIconGap - styleIconSpacing;
    button->setIcon(QIcon(new SymbolIconEngine(symbol, [tint] { return tint; }, double(gap) / side)));
    button->setIconSize(QSize(side + gap, side));
}

bool SymbolIcon::isKnown(const QString &symbol)
{
    return themeNames.contains(symbol) || !SymbolArtwork::svg(symbol).isEmpty();
}

QStringList SymbolIcon::knownSymbols()
{
    QStringList symbols = themeNames.keys() + SymbolArtwork::symbols();
    symbols.sort();
    return symbols;
}
