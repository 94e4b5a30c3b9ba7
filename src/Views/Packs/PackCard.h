#pragma once

#include "Models/LoadedSoundPack.h"

#include <QAbstractButton>

class ElidedLabel;
class Spinner;
class SymbolView;

// One pack of a library grid: its symbol, a mark (a spinner while it loads, a check when it
// is the selection, a circle otherwise), its name on one line and a two-line detail. The
// whole card is the button; selection tints it with the accent.
class PackCard final : public QAbstractButton {
    Q_OBJECT

public:
    explicit PackCard(QWidget *parent = nullptr);

    // Each setter changes the card only when the value differs.
    void setPack(const LoadedSoundPack &pack);
    void setState(bool selected, bool pending, const QColor &accent);
    bool isSelected() const { return m_selected; }
    bool isPending() const { return m_pending; }
    QString detailText() const;

    // The description from the pack's metadata when it has one, otherwise its switch type.
    static QString detail(const SoundPackManifest &manifest);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshMark();

    SoundPackManifest m_manifest;
    QString m_detailText;
    bool m_selected = false;
    bool m_pending = false;
    QColor m_accent;
    SymbolView *m_icon = nullptr;
    SymbolView *m_mark = nullptr;
    Spinner *m_spinner = nullptr;
    ElidedLabel *m_name = nullptr;
    ElidedLabel *m_detail = nullptr;
};
