#pragma once

#include <QWidget>

class QLabel;

// A caption over a value (already formatted); tiles side by side share their row's width.
class MetricTile final : public QWidget {
    Q_OBJECT

public:
    MetricTile(const QString &caption, const QString &value = {}, QWidget *parent = nullptr);

    void setValue(const QString &value);

private:
    QLabel *m_value = nullptr;
};
