#pragma once

#include "Effects/Chaos/ChaosEffectPlan.h"
#include "Effects/Chaos/ChaosScreen.h"
#include "Effects/Chaos/DesktopVisualItem.h"
#include "Platform/DesktopIconLocator.h"
#include "Services/Input/KeySoundEvent.h"

#include <QObject>
#include <QPointer>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

class ChaosPanel;
class DesktopPictureSource;
class OverlayWindowSupport;

// Runs desktop physics: one panel per screen (at most six) with copies of the Desktop's
// items as bodies, until Esc, an opened item, a screen change or the owner ends the run.
// Lives on the GUI thread.
class ChaosEffectController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
    Q_PROPERTY(QString lastEffectName READ lastEffectName NOTIFY lastEffectNameChanged)
    Q_PROPERTY(bool hasIconPositions READ hasIconPositions NOTIFY hasIconPositionsChanged)

public:
    static inline const QString readyName = QStringLiteral("Ready for harmless chaos");
    static inline const QString noCompositorName =
        QStringLiteral("Desktop physics needs a compositing window manager, and none is running.");
    static constexpr int maxScreens = 6;

    ChaosEffectController(const OverlayWindowSupport &windows, DesktopIconLocator &iconLocator,
                          const DesktopPictureSource &pictures, QObject *parent = nullptr);
    ~ChaosEffectController() override;

    bool isActive() const { return m_activeMode.has_value(); }
    std::optional<ChaosMode> activeMode() const { return m_activeMode; }
    QString lastEffectName() const { return m_lastEffectName; }
    bool isEnabled() const { return m_enabled; }
    // Whether the desktop icon locator found icons when last asked, so copies can start
    // where the real icons are.
    bool hasIconPositions() const { return m_hasIconPositions; }
    // The panels of the running effect, in screen order.
    const std::vector<QPointer<ChaosPanel>> &panels() const { return m_panels; }

    // Called once per started run.
    std::function<void(ChaosMode)> onTriggered;
    std::function<ChaosEffectPlan(ChaosMode, int itemCount, int screenCount)> planBuilder = ChaosEffectPlan::make;
    // The screens in the system's order, the first being the primary one.
    std::function<std::vector<ChaosScreen>()> screens;
    std::function<QString()> desktopFolder;
    // Whether the application's global key source runs; without it a click on a panel gives
    // the panel the keyboard, so Esc still reaches it.
    std::function<bool()> hearsGlobalKeys;

    void start();
    void stop();
    void reset();
    // The panels appear once the desktop's icon frames are known (at once with a locator that
    // needs no asking).
    void trigger(ChaosMode mode);
    // Asks the locator again (it may wait on other programs); only the latest answer is
    // published.
    void refreshIconPositions();
    // The desktop's icons are read only for a run or at the user's word: this asks now, and
    // from then on again whenever the accessibility bus comes or goes.
    void enablePreciseIconDrop();
    // The answer kept from an earlier run: icons were found then, so precise drops are on
    // and a change of the accessibility bus asks again.
    void restoreIconPositionsFound();
    void accessibilityChanged();

    // A key from the application's global key source; may be called on any thread.
    void handleGlobalKey(const KeySoundEvent &event);
    // The screen configuration changed; a burst of changes leads to one reset.
    void screensChanged();

    static std::vector<ChaosScreen> systemScreens();

signals:
    void changed();
    void isActiveChanged(bool active);
    void activeModeChanged();
    void lastEffectNameChanged(const QString &name);
    void hasIconPositionsChanged(bool found);

private:
    void watchScreens();
    void present(ChaosMode mode, const std::vector<ChaosScreen> &kept, const DesktopIconLocator::Positions &icons);
    ChaosPanel *makePanel(const ChaosScreen &screen, ChaosMode mode, const std::vector<DesktopVisualItem> &items,
                          qreal primaryScreenTop);
    void loadBackdrops(std::vector<ChaosScreen> shown);
    void scheduleReset();
    void setLastEffectName(const QString &name);
    void setHasIconPositions(bool found);
    void learnIconPositions(std::optional<bool> found);

    const OverlayWindowSupport &m_windows;
    DesktopIconLocator &m_iconLocator;
    const DesktopPictureSource &m_pictures;
    bool m_enabled = false;
    std::optional<ChaosMode> m_activeMode;
    QString m_lastEffectName = readyName;
    std::vector<QPointer<ChaosPanel>> m_panels;
    // Panels not yet destroyed, those of ended runs included.
    int m_openPanels = 0;
    bool m_listensForEscape = false;
    QObject *m_screenWatch = nullptr;
    bool m_screenResetQueued = false;
    // Numbers the runs; read by the backdrop work, so a replaced run's picture is not decoded.
    std::atomic<quint64> m_iconRequest = 0;
    quint64 m_iconProbe = 0;
    bool m_hasIconPositions = false;
    bool m_preciseIconDropEnabled = false;
    // One picture at a time; destroyed first, so its work never outlives what it reads.
    QThreadPool m_backdropWork;
};
