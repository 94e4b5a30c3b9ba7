#pragma once

#include "Platform/ColorSchemeSource.h"
#include "Views/Kit/KitStyle.h"

#include <QPalette>
#include <QPointer>

#include <chrono>
#include <functional>

// Keeps the application palette on the desktop's scheme: the palette Qt has from the desktop
// when it shows the wished scheme, else the kit's own palette for it; light when the desktop
// states no wish and gives no dark palette. Every surface draws from the application palette,
// so one change here restyles them all.
class KitAppearance final {
public:
    // Takes the application palette as it is now as the desktop's.
    explicit KitAppearance(ColorSchemeSource &source);

    static QPalette palette(const QPalette &desktop, ColorSchemePreference preference);

    // Runs `then` once the desktop's first answer is applied, or after `longest` without one,
    // so the first window shows in the desktop's scheme. Runs it at once when the answer came.
    void whenKnown(QObject *context, std::function<void()> then, std::chrono::milliseconds longest);

private:
    void apply(ColorSchemePreference preference);
    void runWaiting();

    QPalette m_desktop;
    bool m_known = false;
    QPointer<QObject> m_context;
    std::function<void()> m_waiting;
};
