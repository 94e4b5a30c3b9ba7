#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QString>

#include <optional>

// Text typed on the Focus page and not saved yet, kept across restarts apart from the journal
// itself. The notebook's intention and notes are edits of the page of `notebookDay`; the day
// is empty when the notebook holds nothing unsaved.
struct FocusDrafts {
    QString task;
    QString reflection;
    QString notebookDay;
    QString intention;
    QString notes;

    bool isEmpty() const { return task.isEmpty() && reflection.isEmpty() && notebookDay.isEmpty(); }

    void writeJson(QByteArray &out) const;
    static std::optional<FocusDrafts> fromJson(const QJsonValue &value);

    friend bool operator==(const FocusDrafts &, const FocusDrafts &) = default;
};
