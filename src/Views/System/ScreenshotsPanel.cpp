#include "Views/System/ScreenshotsPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemRows.h"

#include <QUrl>

ScreenshotsPanel::ScreenshotsPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Screenshots"), QStringLiteral("camera.viewfinder"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Flash when I take a screenshot"),
                             {[&settings] { return settings.screenshotReactionsEnabled(); },
                              [&settings](bool on) { settings.setScreenshotReactionsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("A quick flash after your screenshot is saved. Selecting an area or canceling "
                                        "won\u2019t trigger it."),
                         this));
    m_watcher = new SymbolLabel(QString(), QString(), KitStyle::font(FontRole::caption), ColorRole::secondary, this);
    add(SystemRows::row({m_watcher, nullptr,
                         SystemRows::previewButton(QStringLiteral("camera.fill"), QStringLiteral("Preview Flash"),
                                                   [this] { previewFlash(); })},
                        6, this));
}

void ScreenshotsPanel::previewFlash()
{
    ScreenshotReactionController &screenshots = m_app.effectsController().screenshotReactions();
    screenshots.setLastFilename(QStringLiteral("Screenshot preview"));
    // The address only stands in for a saved file; nothing opens it.
    if (screenshots.onScreenshot)
        screenshots.onScreenshot(QUrl::fromLocalFile(QStringLiteral("/Screenshot Preview.png")));
}

void ScreenshotsPanel::sync()
{
    m_toggle->sync();
    m_toggle->setAccent(KitStyle::accent(m_app.settings()));
    const ScreenshotReactionController &screenshots = m_app.effectsController().screenshotReactions();
    const SystemPageText::SymbolText watcher =
        SystemPageText::screenshotWatcher(screenshots.isObserving(), screenshots.watchedDirectory());
    m_watcher->setSymbol(watcher.symbol);
    m_watcher->setText(watcher.text);
}
