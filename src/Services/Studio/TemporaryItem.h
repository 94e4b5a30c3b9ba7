#pragma once

#include "Foundation/SafeFiles.h"

#include <QString>

// A hidden file or folder beside a destination, removed on every way out of the scope that
// writes it; after a successful move into place nothing is left to remove.
class TemporaryItem {
public:
    explicit TemporaryItem(QString path)
        : m_path(std::move(path))
    {
    }
    TemporaryItem(const TemporaryItem &) = delete;
    TemporaryItem &operator=(const TemporaryItem &) = delete;
    ~TemporaryItem() { SafeFiles::removeAll(m_path); }

    const QString &path() const { return m_path; }

private:
    QString m_path;
};
