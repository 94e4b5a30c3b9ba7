#pragma once

#include <QWidget>

// The welcome window shown until onboarding is completed.
class OnboardingWindow final : public QWidget {
    Q_OBJECT

public:
    OnboardingWindow();
    void centerOnScreen();

signals:
    void shown();
    void getStartedClicked();

protected:
    void showEvent(QShowEvent *event) override;
};
