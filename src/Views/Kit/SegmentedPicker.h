#pragma once

#include <QColor>
#include <QWidget>

#include <utility>

class QButtonGroup;
class QLabel;

// A row of mutually exclusive segments, one per (stored value, title) option, with an
// optional leading label. setCurrentValue() only shows; `chosen` fires on user clicks.
// A value that names no option selects the first one.
class SegmentedPicker final : public QWidget {
    Q_OBJECT

public:
    using Option = std::pair<QString, QString>;

    SegmentedPicker(const QString &label, const QList<Option> &options, QWidget *parent = nullptr);

    void setCurrentValue(const QString &value);
    QString currentValue() const;
    void setAccent(const QColor &accent);

signals:
    void chosen(const QString &value);

private:
    void restyle();

    QList<Option> m_options;
    QButtonGroup *m_group = nullptr;
    QColor m_accent;
};
