#pragma once

#include "Effects/EscapeKeyMonitor.h"
#include "Effects/ScreenToys/ScreenToyGrenadeStore.h"
#include "Effects/ScreenToys/ScreenToyHandTone.h"
#include "Effects/ScreenToys/ScreenToyKind.h"
#include "Effects/ScreenToys/ScreenToyMarkStore.h"
#include "Effects/ScreenToys/ScreenToyScene.h"
#include "Effects/ScreenToys/ScreenToySound.h"
#include "Effects/ScreenToys/ScreenToyWetness.h"
#include "Effects/ScreenToys/ScreenToyWhipHandle.h"
#include "Effects/ScreenToys/WhipMotion.h"
#include "Foundation/Clock.h"
#include "Platform/GlobalPointer.h"
#include "Platform/InputCapture.h"
#include "Platform/OverlayWindowSupport.h"
#include "Platform/ReduceMotionProbe.h"
#include "Platform/SleepMonitor.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class ScreenToyCanvasView;
// One display as the toys see it, in global coordinates (y up).
struct ScreenToyScreen {
    quint32 number = 0;
    QRectF frame;
    QRectF visibleFrame;
};

// Puts a screen toy in the user's hand: a click-through canvas over every display, the
// pointer and left button followed desktop-wide, clicks turned into shots, throws or marks,
// a 60 Hz tick only while something moves or fades, the toys' sounds, and everything put away
// again on Esc or when told to. Clicks are never swallowed. GUI thread only.
class ScreenToyController final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString activeToy READ activeToyID NOTIFY activeToyChanged)
    Q_PROPERTY(QString status READ statusText NOTIFY statusChanged)
    Q_PROPERTY(int markCount READ markCount NOTIFY markCountChanged)

public:
    using ScreenProvider = std::function<std::vector<ScreenToyScreen>()>;

    static constexpr double automaticFireInterval = 0.1;
    static constexpr int tickIntervalMs = 16;

    // What the controller uses of the desktop; `sleep` may be null.
    struct Sources {
        GlobalPointer &pointer;
        InputCapture &keys;
        const OverlayWindowSupport &overlays;
        const ReduceMotionProbe &motion;
        SleepMonitor *sleep = nullptr;
    };

    // Without a sound object the toys are silent.
    ScreenToyController(std::function<bool()> permissionGranted, Sources sources, std::unique_ptr<ScreenToySound> sound,
                        const Clock &clock, ScreenProvider screenProvider = {}, QObject *parent = nullptr);
    ~ScreenToyController() override;

    // Where Esc puts the toy away: in any application, only in our own windows, or nowhere.
    enum class EscapeReach { desktop, ownWindows, none };

    std::optional<ScreenToyKind> activeToy() const { return m_activeToy; }
    EscapeReach escapeReach() const;
    const std::optional<QString> &status() const { return m_status; }
    int markCount() const { return m_markCount; }

    // Puts the current toy away, then equips `kind`; false (with a status line saying why)
    // without input access, without a compositor to draw over the screen, or when the pointer
    // cannot be followed across the desktop.
    bool equip(ScreenToyKind kind);
    // Safe at any time.
    void stop();
    void clearMarks();

    float volume() const { return m_volume; }
    void setVolume(float volume) { m_volume = volume; }
    ScreenToyHandTone handTone() const { return m_handTone; }
    void setHandTone(ScreenToyHandTone tone);

    // Read-outs for the interface, tools and tests.
    bool isAnimating() const { return m_animationTimer.isActive(); }
    const ScreenToyMarkStore &markStore() const { return m_markStore; }
    const ScreenToyWetness &wetness() const { return m_wetness; }
    const ScreenToyGrenadeStore &grenades() const { return m_grenades; }
    const std::optional<WhipMotion> &whipMotion() const { return m_whipMotion; }
    std::vector<ScreenToyCanvasView *> canvases() const;
    ScreenToyWhipHandle *whipHandle() const { return m_whipHandle; }
    const ScreenToySound *sound() const { return m_sound.get(); }
    // One step of the animation; the timer calls it every 1/60 s while something animates.
    void tick();

    static QString permissionNeededText();
    static QString compositorNeededText();
    static QString escapeUnavailableText();
    static QString pointerUnavailableText();
    static QString activeText(ScreenToyKind kind);
    // Every display of the desktop, numbered by its place in the list.
    static std::vector<ScreenToyScreen> desktopScreens();

signals:
    void changed();
    void activeToyChanged();
    void statusChanged();
    void markCountChanged();

private:
    QString activeToyID() const { return m_activeToy ? rawValue(*m_activeToy) : QString(); }
    QString statusText() const { return m_status.value_or(QString()); }
    double now() const { return uptimeSeconds(m_clock.uptime()); }
    void setStatus(std::optional<QString> status);
    void setActiveToy(std::optional<ScreenToyKind> kind);

    void refreshDisplays();
    void showWhipHandle();
    void dragWhip(QPointF to, double time);
    void handlePointer(GlobalPointer::Event event);
    void recordShot(QPointF point, double time);
    void startAnimationTimer();
    void updateCanvases(double time);
    ScreenToyScene sceneAt(double time) const;
    QPointF pointerLocation() const;
    // Display changes re-lay the canvases; sleep puts the toy away.
    void watchDisplaysAndSleep();
    void unwatchDisplaysAndSleep();
    void watchDisplays();
    void unwatchDisplays();

    std::function<bool()> m_permissionGranted;
    Sources m_sources;
    std::unique_ptr<ScreenToySound> m_sound;
    const Clock &m_clock;
    ScreenProvider m_screenProvider;
    EscapeKeyMonitor m_escapeMonitor;

    std::optional<ScreenToyKind> m_activeToy;
    std::optional<QString> m_status;
    int m_markCount = 0;
    ScreenToyMarkStore m_markStore;
    ScreenToyWetness m_wetness;
    ScreenToyGrenadeStore m_grenades;
    struct CanvasPanel {
        std::unique_ptr<ScreenToyCanvasView> view;
        QRectF frame;
    };
    std::map<quint32, CanvasPanel> m_panels;
    QTimer m_animationTimer;
    std::optional<double> m_lastAnimationTime;
    std::optional<QPointF> m_pointer;
    std::optional<WhipMotion> m_whipMotion;
    QPointer<ScreenToyWhipHandle> m_whipHandle;
    std::optional<double> m_nextAutomaticShot;
    bool m_reduceMotion = false;
    float m_volume = 0.55f;
    ScreenToyHandTone m_handTone = ScreenToyHandTone::original;
    std::vector<QMetaObject::Connection> m_displayConnections;
};
