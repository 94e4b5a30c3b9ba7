#include "Views/Packs/PackLibraryGrid.h"

#include "Views/Kit/FlowGrid.h"
#include "Views/Kit/KeyedRows.h"
#include "Views/Packs/PackCard.h"
#include "Views/Packs/PackSelection.h"

#include <QVBoxLayout>

PackLibraryGrid::PackLibraryGrid(PackSelection &selection, SoundChannel channel, QWidget *parent)
    : QWidget(parent)
    , m_selection(selection)
    , m_channel(channel)
{
    auto *grid = new FlowGrid(150, 10, 10);
    // A short list spreads over the row instead of cutting its texts beside empty columns.
    grid->setFewItems(FlowGrid::FewItems::widen);
    m_rows = new KeyedRows(grid, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_rows);
}

void PackLibraryGrid::sync(const QList<LoadedSoundPack> &packs, const QColor &accent)
{
    QStringList ids;
    ids.reserve(packs.size());
    for (const LoadedSoundPack &pack : packs)
        ids.append(pack.id());
    m_rows->setIds(ids, [this](const QString &id) {
        auto *card = new PackCard(m_rows);
        // The selection, not the card, carries the load on: cards are rebuilt under it.
        PackSelection *selection = &m_selection;
        const SoundChannel channel = m_channel;
        connect(card, &QAbstractButton::clicked, selection, [selection, id, channel] { selection->choose(id, channel); });
        return card;
    });
    const QString selected = m_selection.selectedPack(m_channel);
    const std::optional<QString> pending = m_selection.pendingPack(m_channel);
    for (const LoadedSoundPack &pack : packs) {
        auto *card = static_cast<PackCard *>(m_rows->row(pack.id()));
        card->setPack(pack);
        card->setState(pack.id() == selected, pending == pack.id(), accent);
    }
}

QList<PackCard *> PackLibraryGrid::cards() const
{
    QList<PackCard *> cards;
    for (const QString &id : m_rows->ids())
        cards.append(static_cast<PackCard *>(m_rows->row(id)));
    return cards;
}

PackCard *PackLibraryGrid::card(const QString &packID) const
{
    return static_cast<PackCard *>(m_rows->row(packID));
}
