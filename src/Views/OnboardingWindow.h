#pragma once

#include <QWidget>

#include <array>

class AppModel;
class OnboardingPageView;
class ProminentButton;
class QPushButton;
class QStackedWidget;
class WindowSync;

// The welcome flow shown until onboarding is completed: four pages (welcome, input access,
// the tap sensor, sounds to try) with Back and Continue, and Done on the last. Only Done
// completes onboarding; closing the window leaves it to be shown again at the next start.
class OnboardingWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int pageCount = 4;

    explicit OnboardingWindow(AppModel &app);

    int page() const { return m_page; }
    OnboardingPageView *pageView(int page) const { return m_pages[std::size_t(page)]; }
    void centerOnScreen();
    // Shows the current values at once (normally queued after every change).
    void sync();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildPages();
    void setPage(int page);
    void advance();

    AppModel &m_app;
    int m_page = 0;
    bool m_finished = false;
    QStackedWidget *m_stack = nullptr;
    std::array<OnboardingPageView *, pageCount> m_pages{};
    QPushButton *m_back = nullptr;
    ProminentButton *m_primary = nullptr;
    ProminentButton *m_grant = nullptr;
    WindowSync *m_sync;
};
