#pragma once

#include "Effects/DownloadWeight.h"

#include <QString>

// Something that arrived or left: a finished download, a drive or a display.
struct ArrivalReactionEvent {
    enum class Kind { download, volumeConnected, volumeDisconnected, displayConnected, displayDisconnected };

    Kind kind = Kind::download;
    // The size class, for download only.
    DownloadWeight weight = DownloadWeight::light;

    static ArrivalReactionEvent download(DownloadWeight weight) { return {Kind::download, weight}; }
    static ArrivalReactionEvent of(Kind kind) { return {kind, DownloadWeight::light}; }

    // The text the controller publishes as its last event.
    QString text() const;

    friend bool operator==(const ArrivalReactionEvent &, const ArrivalReactionEvent &) = default;
};
