#pragma once

#include <QHash>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>

// Where the desktop's file manager draws its icons, by icon title. Frames are global
// coordinates with the origin at the primary screen's top-left corner and y growing downwards.
class DesktopIconLocator {
public:
    using Positions = QHash<QString, QRectF>;
    // What one look saw. It is finished when it reached the desktop's file manager and read its
    // desktop to the end; unfinished without the accessibility bus, before the file manager has
    // started, or when the file manager did not answer in time.
    struct Sight {
        enum class Look { unfinished, finished };
        Look look = Look::finished;
        Positions positions;

        // Whether icon places can be found, as far as this look tells: yes when it saw icons,
        // no when it finished without any, nothing when it could not look.
        std::optional<bool> found() const;
    };

    virtual ~DesktopIconLocator() = default;
    // Asks without waiting: `answer` runs on the GUI thread once the frames are known, possibly
    // before this returns when they need no asking. No positions when the desktop shows no
    // icons or cannot be asked; never fails. Not called once the locator is gone.
    virtual void findPositions(std::function<void(Sight)> answer) = 0;
};
