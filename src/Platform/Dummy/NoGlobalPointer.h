#pragma once

#include "Platform/GlobalPointer.h"

#include <QCursor>

// A session without desktop-wide pointer events: only the position is known.
class NoGlobalPointer final : public GlobalPointer {
public:
    QPoint position() const override { return QCursor::pos(); }
    bool leftButtonIsDown() const override { return false; }
    bool start(Handler) override { return false; }
    void stop() override {}
};
