#include "Foundation/RawEnum.h"
#include "Views/ControlWindow.h"
#include "Views/Kit/Contrast.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/PageScaffold.h"
#include "Views/MenuBarPanel.h"
#include "support/ViewRig.h"

#include <QApplication>
#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

struct SchemeGuard {
    QPalette saved = QApplication::palette();
    explicit SchemeGuard(ColorScheme scheme) { QApplication::setPalette(KitStyle::palette(scheme)); }
    ~SchemeGuard() { QApplication::setPalette(saved); }
};

// What most of the label's own area shows: the colour behind its text.
QColor colourBehind(const QImage &shot, const QRect &area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[shot.pixel(x, y)];
    }
    QRgb most = 0;
    int best = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > best) {
            best = it.value();
            most = it.key();
        }
    }
    return QColor::fromRgb(most);
}

// Checks every visible, enabled plain-text label under `root` against the pixels `root`
// draws behind it; `skip` leaves out labels another shot covers.
void checkLabels(QWidget *root, const QString &where, const std::function<bool(QLabel *)> &skip = {})
{
    const QImage shot = root->grab().toImage();
    int checked = 0;
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->isVisibleTo(root) || !label->isEnabled() || label->text().trimmed().isEmpty() ||
            (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(label->text())) || (skip && skip(label)))
            continue;
        const QRect area = QRect(label->mapTo(root, QPoint(0, 0)), label->size()).intersected(shot.rect());
        if (area.isEmpty())
            continue;
        const QColor behind = colourBehind(shot, area);
        const QColor ink = Contrast::over(label->palette().color(QPalette::WindowText), behind);
        const double minimum = QFontInfo(label->font()).pixelSize() >= 18 ? Contrast::large : Contrast::text;
        EXPECT_GE(Contrast::ratio(ink, behind), minimum)
            << where.toStdString() << ": \"" << label->text().toStdString() << "\" " << ink.name().toStdString()
            << " on " << behind.name().toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0) << where.toStdString();
}

bool insidePage(QLabel *label)
{
    for (QWidget *parent = label->parentWidget(); parent; parent = parent->parentWidget()) {
        if (qobject_cast<PageScaffold *>(parent))
            return true;
    }
    return false;
}

}

TEST(ContrastWalk, EveryLabelOfEveryPageAndThePanelReadsInBothSchemes)
{
    for (ColorScheme scheme : {ColorScheme::light, ColorScheme::dark}) {
        const SchemeGuard guard(scheme);
        const QString name = scheme == ColorScheme::dark ? QStringLiteral("dark ") : QStringLiteral("light ");
        ViewRig rig({QStringLiteral("typingEnabled=true"), QStringLiteral("mouseSoundsEnabled=true"),
                     QStringLiteral("impactEnabled=true")});
        SettingsViewState state(SettingsPage::home);
        ControlWindow window(*rig.app, state);
        window.resize(760, 620);
        window.show();
        QCoreApplication::processEvents();
        checkLabels(&window, name + QStringLiteral("window"), insidePage);
        for (SettingsPage page : allCases<SettingsPage>()) {
            window.openPage(page);
            QCoreApplication::processEvents();
            for (PageScaffold *scaffold : window.findChildren<PageScaffold *>()) {
                if (scaffold->isVisible())
                    checkLabels(scaffold->widget(), name + rawValue(page));
            }
        }
        MenuBarPanel panel(*rig.app);
        panel.show();
        QCoreApplication::processEvents();
        checkLabels(&panel, name + QStringLiteral("panel"));
    }
}
