#include "Views/OnboardingWindow.h"

#include "Views/AppModel.h"
#include "Views/Kit/CardFrame.h"
#include "Views/Kit/KitStyle.h"
#include "Views/Kit/ProminentButton.h"
#include "Views/Kit/TextLabels.h"
#include "Views/Kit/WindowPlacement.h"
#include "Views/Onboarding/OnboardingPageView.h"
#include "Views/WindowSync.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int welcomePage = 0;
constexpr int accessPage = 1;
constexpr int sensorPage = 2;
constexpr int tryPage = 3;

OnboardingPageView::Content sensorContent(bool detected)
{
    if (detected)
        return {QStringLiteral("checkmark.circle.fill"), QStringLiteral("Impact sensor detected"),
                QStringLiteral("Use light taps on the palm rest to test reactions.")};
    return {QStringLiteral("laptopcomputer.trianglebadge.exclamationmark"),
            QStringLiteral("Impact reactions aren\u2019t supported on this computer"),
            QStringLiteral("Keyboard sounds will still work normally.")};
}

}

OnboardingWindow::OnboardingWindow(AppModel &app)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_app(app)
    , m_sync(new WindowSync(this, app, [this] { sync(); }))
{
    setWindowTitle(QStringLiteral("Welcome to Plinkly"));
    setObjectName(QStringLiteral("onboardingWindow"));
    setFixedSize(520, 380);

    // The page area looks like a tab view without tabs.
    auto *pageArea = new CardFrame(6, CardFrame::Tone{ColorRole::barBackground}, CardFrame::Tone{ColorRole::secondary, 0.2},
                                   this);
    m_stack = new QStackedWidget(pageArea);
    auto *areaLayout = new QVBoxLayout(pageArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->addWidget(m_stack);
    buildPages();

    m_back = TextLabels::borderedButton({}, QStringLiteral("Back"), this);
    connect(m_back, &QPushButton::clicked, this, [this] { setPage(m_page - 1); });
    m_primary = new ProminentButton({}, QStringLiteral("Continue"), this);
    connect(m_primary, &QPushButton::clicked, this, &OnboardingWindow::advance);
    auto *footer = new QHBoxLayout;
    footer->addWidget(m_back);
    footer->addStretch(1);
    footer->addWidget(m_primary);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(28, 28, 28, 28);
    layout->setSpacing(24);
    layout->addWidget(pageArea, 1);
    layout->addLayout(footer);

    setPage(welcomePage);
    sync();
}

void OnboardingWindow::buildPages()
{
    m_pages[welcomePage] = new OnboardingPageView(
        {QStringLiteral("keyboard.badge.ellipsis"), QStringLiteral("Meet Plinkly"),
         QStringLiteral("Plinkly lives behind the keyboard icon in the panel\u2019s tray. Finishing setup opens its "
                        "full control window; closing that window keeps sounds running in the tray.")});

    m_pages[accessPage] = new OnboardingPageView(
        {QStringLiteral("hand.raised.fill"), QStringLiteral("Private Input Access"),
         QStringLiteral("Plinkly reacts to each event and immediately discards it. Typed text is never stored, "
                        "reconstructed, or transmitted.")});
    // Asked even when access is already there: the manager re-reads it.
    m_grant = new ProminentButton({}, QStringLiteral("Grant Input Access"));
    connect(m_grant, &QPushButton::clicked, this, [this] { m_app.input().permissions().request(); });
    m_pages[accessPage]->add(m_grant);

    m_pages[sensorPage] = new OnboardingPageView(sensorContent(m_app.input().impacts().hardwareDetected()));

    m_pages[tryPage] = new OnboardingPageView(
        {QStringLiteral("waveform"), QStringLiteral("Try it"),
         QStringLiteral("Preview the included original sounds, then start typing or lightly tap your computer.")});
    QPushButton *typing = TextLabels::borderedButton({}, QStringLiteral("Typing Sound"));
    connect(typing, &QPushButton::clicked, this, [this] { m_app.sound().previewKeyboard(); });
    QPushButton *tap = TextLabels::borderedButton({}, QStringLiteral("Tap Reaction"));
    connect(tap, &QPushButton::clicked, this, [this] { m_app.sound().previewReaction(); });
    auto *previews = new QHBoxLayout;
    previews->addStretch(1);
    previews->addWidget(typing);
    previews->addWidget(tap);
    previews->addStretch(1);
    m_pages[tryPage]->add(previews);

    for (OnboardingPageView *view : m_pages)
        m_stack->addWidget(view);
}

void OnboardingWindow::setPage(int page)
{
    m_page = std::clamp(page, welcomePage, tryPage);
    m_stack->setCurrentIndex(m_page);
    m_back->setVisible(m_page > welcomePage);
    const QString primary = m_page == tryPage ? QStringLiteral("Done") : QStringLiteral("Continue");
    m_primary->setText(primary);
    m_primary->setAccessibleName(primary);
}

void OnboardingWindow::advance()
{
    if (m_page < tryPage) {
        setPage(m_page + 1);
        return;
    }
    // The window goes away after finishing; a second click on its way out must not finish twice.
    if (m_finished)
        return;
    m_finished = true;
    m_app.finishOnboarding();
}

void OnboardingWindow::centerOnScreen()
{
    WindowPlacement::centerOnScreen(this);
}

void OnboardingWindow::sync()
{
    m_sync->clearRequest();
    if (const auto accent = m_sync->refreshAccent()) {
        m_primary->setTint(*accent);
        m_grant->setTint(*accent);
        for (OnboardingPageView *view : m_pages)
            view->setAccent(*accent);
    }
    m_pages[sensorPage]->setContent(sensorContent(m_app.input().impacts().hardwareDetected()));
}

void OnboardingWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Matters only when the window comes up before the launch path has started the application.
    // Belongs to the application, which the window may outlive.
    QTimer::singleShot(0, &m_app, [app = &m_app] { app->start(); });
}

