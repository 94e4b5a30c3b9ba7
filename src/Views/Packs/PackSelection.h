#pragma once

#include "Services/Audio/SoundChannel.h"

#include <QFuture>
#include <QObject>
#include <QString>

#include <optional>

class AppModel;

// What a pack grid needs of the application for one sound channel: which pack is chosen,
// which one is loading, starting a load, and the channel's preview. It lives as long as the
// application, so a load's continuation may use it after the grid that started it is gone.
class PackSelection : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual QString selectedPack(SoundChannel channel) const = 0;
    virtual std::optional<QString> pendingPack(SoundChannel channel) const = 0;
    // Yields whether the pack was loaded and made the channel's selection.
    virtual QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel) = 0;
    virtual void preview(SoundChannel channel) = 0;

    // Loads the pack and, when that succeeds and the pack is still the channel's selection,
    // plays the channel's preview. The continuation runs in this object's context only.
    void choose(const QString &id, SoundChannel channel);
};

// The selection the application's sound controller and settings keep.
class AppPackSelection final : public PackSelection {
    Q_OBJECT

public:
    // A child of `app`, which outlives every load it starts.
    static AppPackSelection *of(AppModel &app);

    QString selectedPack(SoundChannel channel) const override;
    std::optional<QString> pendingPack(SoundChannel channel) const override;
    QFuture<bool> selectSoundPack(const QString &id, SoundChannel channel) override;
    void preview(SoundChannel channel) override;

private:
    explicit AppPackSelection(AppModel &app);

    AppModel &m_app;
};
