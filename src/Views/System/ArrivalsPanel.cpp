#include "Views/System/ArrivalsPanel.h"

#include "Views/AppModel.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/SwitchRow.h"
#include "Views/Kit/SymbolLabel.h"
#include "Views/Kit/TextLabels.h"
#include "Views/System/SystemPageText.h"
#include "Views/System/SystemRows.h"

ArrivalsPanel::ArrivalsPanel(AppModel &app, QWidget *parent)
    : SettingsPanel(QStringLiteral("Arrivals"), QStringLiteral("shippingbox.fill"), parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    m_toggle = new SwitchRow(QStringLiteral("Enable arrival reactions"),
                             {[&settings] { return settings.arrivalReactionsEnabled(); },
                              [&settings](bool on) { settings.setArrivalReactionsEnabled(on); }},
                             this);
    add(m_toggle);
    add(TextLabels::hint(QStringLiteral("Downloads land with a swoosh. Drives and displays get a welcome, too."), this));
    add(SystemRows::divider(this));
    m_downloads = new SwitchRow(QStringLiteral("Completed downloads"),
                                {[&settings] { return settings.downloadReactionsEnabled(); },
                                 [&settings](bool on) { settings.setDownloadReactionsEnabled(on); }},
                                this);
    add(m_downloads);
    m_devices = new SwitchRow(QStringLiteral("External drives and displays"),
                              {[&settings] { return settings.deviceReactionsEnabled(); },
                               [&settings](bool on) { settings.setDeviceReactionsEnabled(on); }},
                              this);
    add(m_devices);

    // Each preview is held back by the controller's own gate for its kind, as a real arrival is.
    using Kind = ArrivalReactionEvent::Kind;
    const auto device = [this](Kind kind) {
        ArrivalReactionController &arrivals = m_app.effectsController().arrivalReactions();
        if (arrivals.devicesEnabled())
            arrivals.emitReaction(ArrivalReactionEvent::of(kind));
    };
    m_previews = SystemRows::row(
        {SystemRows::previewButton(QStringLiteral("shippingbox.fill"), QStringLiteral("Preview download"),
                                   [this] {
                                       ArrivalReactionController &arrivals = m_app.effectsController().arrivalReactions();
                                       if (arrivals.downloadsEnabled())
                                           arrivals.emitReaction(ArrivalReactionEvent::download(DownloadWeight::medium));
                                   }),
         SystemRows::previewButton(QStringLiteral("externaldrive.badge.plus"), QStringLiteral("Preview drive"),
                                   [device] { device(Kind::volumeConnected); }),
         SystemRows::previewButton(QStringLiteral("display.2"), QStringLiteral("Preview display"),
                                   [device] { device(Kind::displayConnected); }),
         nullptr},
        6, this);
    add(m_previews);
    m_status = new SymbolLabel(QString(), QString(), KitStyle::font(FontRole::caption), ColorRole::secondary, this);
    add(m_status);
}

void ArrivalsPanel::sync()
{
    const SettingsStore &settings = m_app.settings();
    const QColor accent = KitStyle::accent(settings);
    for (SwitchRow *row : {m_toggle, m_downloads, m_devices}) {
        row->sync();
        row->setAccent(accent);
    }
    const bool on = settings.arrivalReactionsEnabled();
    Bind::enabled(m_downloads, on);
    Bind::enabled(m_devices, on);
    Bind::enabled(m_previews, on);
    const ArrivalReactionController &arrivals = m_app.effectsController().arrivalReactions();
    const SystemPageText::SymbolText status = SystemPageText::arrivalStatus(arrivals.isObserving(), arrivals.lastEventText());
    m_status->setSymbol(status.symbol);
    m_status->setText(status.text);
}
