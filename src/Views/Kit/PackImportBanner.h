#pragma once

#include <QWidget>

class QPushButton;
class SoundPackManager;
class SymbolLabel;

// One status line over the pack manager: while an import runs, a spinner, "Checking and
// installing your sounds…" and Cancel; otherwise the import's notice, if any; otherwise
// nothing. Cancel asks the manager for the running import when pressed, so the banner never
// holds on to an import.
class PackImportBanner final : public QWidget {
    Q_OBJECT

public:
    explicit PackImportBanner(SoundPackManager &manager, QWidget *parent = nullptr);

    void sync();
    QWidget *progressRow() const { return m_progress; }
    QPushButton *cancelButton() const { return m_cancel; }
    SymbolLabel *notice() const { return m_notice; }

private:
    SoundPackManager &m_manager;
    QWidget *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    SymbolLabel *m_notice = nullptr;
};
