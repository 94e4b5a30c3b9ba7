#pragma once

#include <QString>
#include <QStringList>

// The sample files of one key group, as paths relative to the pack folder.
struct SampleSet {
    QStringList down;
    QStringList up;

    bool operator==(const SampleSet &) const = default;
};
