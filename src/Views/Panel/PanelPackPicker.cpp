#include "Views/Panel/PanelPackPicker.h"

#include "Views/AppModel.h"
#include "Views/Kit/TextLabels.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

PanelPackPicker::PanelPackPicker(AppModel &app, const QString &title, SoundChannel channel, QWidget *parent)
    : QWidget(parent)
    , m_app(app)
    , m_channel(channel)
{
    m_combo = TextLabels::picker(this);
    m_combo->setAccessibleName(title);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo->setMinimumContentsLength(12);
    m_error = TextLabels::error(this);

    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(title, this));
    row->addWidget(m_combo, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addLayout(row);
    layout->addWidget(m_error);

    connect(m_combo, &QComboBox::activated, this, &PanelPackPicker::choose);
    sync();
}

void PanelPackPicker::sync()
{
    const SoundPackManager &packs = m_app.sound().packs();
    const QList<LoadedSoundPack> list = m_channel == SoundChannel::reaction ? packs.reactionPacks() : packs.keyboardPacks();
    bool same = list.size() == m_combo->count();
    for (qsizetype index = 0; same && index < list.size(); ++index) {
        same = m_combo->itemData(int(index)).toString() == list[index].manifest.id
            && m_combo->itemText(int(index)) == list[index].manifest.name;
    }
    const QSignalBlocker blocker(m_combo);
    if (!same) {
        m_combo->clear();
        for (const LoadedSoundPack &pack : list)
            m_combo->addItem(pack.manifest.name, pack.manifest.id);
    }
    const int index = m_combo->findData(shownID());
    if (m_combo->currentIndex() != index)
        m_combo->setCurrentIndex(index);
    TextLabels::setError(m_error, m_app.sound().audioError(m_channel));
}

QString PanelPackPicker::shownID() const
{
    const SettingsStore &settings = m_app.settings();
    const QString stored = m_channel == SoundChannel::reaction ? settings.selectedReactionPack() : settings.selectedKeyboardPack();
    return m_app.sound().pendingSoundPackIDs().value(m_channel, stored);
}

void PanelPackPicker::choose(int index)
{
    const QString id = m_combo->itemData(index).toString();
    if (!id.isEmpty() && id != shownID())
        m_app.sound().selectSoundPack(id, m_channel);
    sync();
}
