#pragma once

#include "Models/LoadedSoundPack.h"
#include "Services/Audio/SoundChannel.h"

#include <QWidget>

class KeyedRows;
class PackCard;
class PackSelection;

// The packs of one kind as cards in adaptive columns at least 150 px wide (fewer packs than
// columns share the row), in the order given;
// a click loads that pack for the grid's channel and previews it once it is in place. The
// grid keeps no state: sync() shows the list, the selection and the pending load.
class PackLibraryGrid final : public QWidget {
    Q_OBJECT

public:
    PackLibraryGrid(PackSelection &selection, SoundChannel channel, QWidget *parent = nullptr);

    void sync(const QList<LoadedSoundPack> &packs, const QColor &accent);
    QList<PackCard *> cards() const;
    PackCard *card(const QString &packID) const;

private:
    PackSelection &m_selection;
    SoundChannel m_channel;
    KeyedRows *m_rows = nullptr;
};
