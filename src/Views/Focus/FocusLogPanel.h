#pragma once

#include <QTimer>
#include <QWidget>

class AppModel;
class KeyedRows;
class MetricTile;
class QLabel;

// Today's totals and the latest sessions and progress notes, the notes dated relative to
// now and redated every minute.
class FocusLogPanel final : public QWidget {
    Q_OBJECT

public:
    static constexpr qsizetype shownRecords = 4;
    static constexpr qsizetype shownNotes = 5;

    explicit FocusLogPanel(AppModel &app, QWidget *parent = nullptr);

    // Also dates the notes against the journal's present moment; runs every minute on its own.
    void sync(const QColor &accent);

private:
    AppModel &m_app;
    MetricTile *m_today = nullptr;
    MetricTile *m_sessions = nullptr;
    MetricTile *m_checkIns = nullptr;
    QLabel *m_empty = nullptr;
    KeyedRows *m_records = nullptr;
    KeyedRows *m_notes = nullptr;
    QTimer m_dateTimer;
};
