#include "Views/Home/DashboardGrid.h"

#include "Services/Packs/SoundPackManager.h"
#include "Views/AppModel.h"
#include "Views/Home/HomeCardText.h"
#include "Views/Kit/DashboardCard.h"
#include "Views/SettingsViewState.h"

#include <QGridLayout>

DashboardGrid::DashboardGrid(AppModel &app, SettingsViewState &state, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
{
    SettingsStore &settings = app.settings();
    // The cards that change the page set only the window's page.
    const auto jumpTo = [&state](SettingsPage page) { return [&state, page] { state.setPage(page); }; };

    m_pet = new DashboardCard(QStringLiteral("Desktop Pet"), {}, QStringLiteral("pawprint.fill"),
                              Binding<bool>{[&settings] { return settings.petEnabled(); },
                                            [&settings](bool on) { settings.setPetEnabled(on); }},
                              [&settings] { settings.setPetEnabled(true); }, this);
    m_focus = new DashboardCard(QStringLiteral("Focus Buddy"), {}, QStringLiteral("timer"), std::nullopt,
                                jumpTo(SettingsPage::focus), this);
    m_typing = new DashboardCard(QStringLiteral("Typing Sounds"), {}, QStringLiteral("keyboard.fill"),
                                 Binding<bool>{[&settings] { return settings.typingEnabled(); },
                                               [&settings](bool on) { settings.setTypingEnabled(on); }},
                                 jumpTo(SettingsPage::sounds), this);
    m_system = new DashboardCard(QStringLiteral("System Reactions"), {}, QStringLiteral("bolt.circle.fill"),
                                 Binding<bool>{[&settings] { return settings.systemReactionsEnabled(); },
                                               [&settings](bool on) { settings.setSystemReactionsEnabled(on); }},
                                 jumpTo(SettingsPage::system), this);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(14);
    grid->addWidget(m_pet, 0, 0);
    grid->addWidget(m_focus, 0, 1);
    grid->addWidget(m_typing, 1, 0);
    grid->addWidget(m_system, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, 10);
    grid->setColumnMinimumWidth(1, 10);
}

std::optional<QString> DashboardGrid::selectedKeyboardPackName() const
{
    const std::optional<LoadedSoundPack> pack =
        m_app.sound().packs().pack(m_app.settings().selectedKeyboardPack(), SoundPackManager::PackKind::keyboard);
    if (!pack)
        return std::nullopt;
    return pack->manifest.name;
}

void DashboardGrid::sync(const QColor &accent)
{
    const SettingsStore &settings = m_app.settings();
    const FocusSessionController &session = m_app.focusController().session();
    m_pet->setSubtitle(HomeCardText::desktopPet(settings.petEnabled()));
    m_focus->setSubtitle(HomeCardText::focusBuddy(session.isActive(), session.remainingSeconds(), session.statusText()));
    m_typing->setSubtitle(HomeCardText::typingSounds(settings.typingEnabled(), selectedKeyboardPackName()));
    m_system->setSubtitle(
        HomeCardText::systemReactions(m_app.effectsController().systemReactions().snapshot()));
    for (DashboardCard *card : {m_pet, m_focus, m_typing, m_system}) {
        card->setAccent(accent);
        card->sync();
    }
}
