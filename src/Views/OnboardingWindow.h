#pragma once

#include <QWidget>

class AppController;

// The welcome window shown until onboarding is completed.
class OnboardingWindow final : public QWidget {
    Q_OBJECT

public:
    explicit OnboardingWindow(AppController &controller);
    void centerOnScreen();

protected:
    void showEvent(QShowEvent *event) override;

private:
    AppController &m_controller;
};
