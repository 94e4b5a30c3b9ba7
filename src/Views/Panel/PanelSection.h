#pragma once

#include "Views/Kit/Bind.h"

#include <QWidget>

class AppModel;
class QVBoxLayout;

// One group of the tray panel's rows. Built once; sync() shows the services' current values
// and never writes anything. Rows inside a section are spaced like the panel's own rows.
class PanelSection : public QWidget {
    Q_OBJECT

public:
    explicit PanelSection(AppModel &app, QWidget *parent = nullptr);

    virtual void sync() = 0;

protected:
    AppModel &app() const { return m_app; }
    QVBoxLayout *rows() const { return m_rows; }
    QColor accent() const;
    // Closes the panel, for actions that bring another window forward.
    void closePanel();
    static QWidget *divider(QWidget *parent);

private:
    AppModel &m_app;
    QVBoxLayout *m_rows = nullptr;
};
