#pragma once

#include "Views/Kit/ElidedLabel.h"

#include <QLabel>

// What a label says, whether or not it has been given room for the whole text yet.
inline QString wholeText(const QLabel *label)
{
    const auto *elided = qobject_cast<const ElidedLabel *>(label);
    return elided ? elided->fullText() : label->text();
}
