#include "Views/Packs/PackSelection.h"

#include "Foundation/WhenFinished.h"
#include "Views/AppModel.h"

void PackSelection::choose(const QString &id, SoundChannel channel)
{
    whenFinished(selectSoundPack(id, channel), this, [this, id, channel](bool loaded) {
        if (loaded && selectedPack(channel) == id)
            preview(channel);
    });
}

AppPackSelection::AppPackSelection(AppModel &app)
    : PackSelection(&app)
    , m_app(app)
{
}

AppPackSelection *AppPackSelection::of(AppModel &app)
{
    if (auto *existing = app.findChild<AppPackSelection *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new AppPackSelection(app);
}

QString AppPackSelection::selectedPack(SoundChannel channel) const
{
    const SettingsStore &settings = m_app.settings();
    switch (channel) {
    case SoundChannel::keyboard:
        return settings.selectedKeyboardPack();
    case SoundChannel::mouse:
        return settings.selectedMousePack();
    case SoundChannel::reaction:
        return settings.selectedReactionPack();
    }
    return {};
}

std::optional<QString> AppPackSelection::pendingPack(SoundChannel channel) const
{
    const auto pending = m_app.sound().pendingSoundPackIDs();
    if (const auto found = pending.constFind(channel); found != pending.cend())
        return *found;
    return std::nullopt;
}

QFuture<bool> AppPackSelection::selectSoundPack(const QString &id, SoundChannel channel)
{
    return m_app.sound().selectSoundPack(id, channel);
}

void AppPackSelection::preview(SoundChannel channel)
{
    SoundController &sound = m_app.sound();
    switch (channel) {
    case SoundChannel::keyboard:
        sound.previewKeyboard();
        break;
    case SoundChannel::mouse:
        sound.previewMouse();
        break;
    case SoundChannel::reaction:
        sound.previewReaction();
        break;
    }
}
