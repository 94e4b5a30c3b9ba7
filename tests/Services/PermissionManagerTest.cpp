#include "Services/PermissionManager.h"
#include "fakes/FakePermissionProbe.h"

#include <QSignalSpy>

#include <memory>

#include <gtest/gtest.h>

TEST(PermissionManager, PublishesEachChangeOnce)
{
    FakePermissionProbe probe;
    PermissionManager permissions(probe);
    QSignalSpy changed(&permissions, &PermissionManager::changed);
    QSignalSpy input(&permissions, &PermissionManager::hasInputMonitoringChanged);

    permissions.refresh();
    EXPECT_EQ(changed.count(), 0);
    probe.inputGranted = true;
    probe.accessibilityGranted = true;
    permissions.refresh();
    permissions.refresh();
    EXPECT_TRUE(permissions.hasInputMonitoring());
    EXPECT_TRUE(permissions.hasAccessibility());
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(input.count(), 1);
}

TEST(PermissionManager, ExplainsAccessOnlyWhileItIsMissing)
{
    FakePermissionProbe probe;
    PermissionManager permissions(probe);
    permissions.request();
    permissions.requestAccessibility();
    EXPECT_EQ(probe.inputHelpShown, 1);
    EXPECT_EQ(probe.accessibilityHelpShown, 1);

    probe.inputGranted = true;
    probe.accessibilityGranted = true;
    permissions.request();
    permissions.requestAccessibility();
    EXPECT_TRUE(permissions.hasInputMonitoring());
    EXPECT_TRUE(permissions.hasAccessibility());
    EXPECT_EQ(probe.inputHelpShown, 1);
    EXPECT_EQ(probe.accessibilityHelpShown, 1);
}

TEST(PermissionManager, AccessibilityIsPublishedWhenTheBusAnswers)
{
    FakePermissionProbe probe;
    probe.answersLater = true;
    probe.accessibilityGranted = true;
    PermissionManager permissions(probe);
    QSignalSpy accessibility(&permissions, &PermissionManager::hasAccessibilityChanged);

    permissions.refresh();
    EXPECT_FALSE(permissions.hasAccessibility()) << "nothing is known before the answer";
    probe.answerAccessibility();
    EXPECT_TRUE(permissions.hasAccessibility());
    EXPECT_EQ(accessibility.count(), 1);

    // Help is shown only once the answer says access is still missing.
    probe.accessibilityGranted = false;
    permissions.requestAccessibility();
    EXPECT_EQ(probe.accessibilityHelpShown, 0);
    probe.answerAccessibility();
    EXPECT_FALSE(permissions.hasAccessibility());
    EXPECT_EQ(probe.accessibilityHelpShown, 1);

    // An answer that arrives after the manager is gone touches nothing.
    auto gone = std::make_unique<PermissionManager>(probe);
    gone->requestAccessibility();
    gone.reset();
    probe.answerAccessibility();
    EXPECT_EQ(probe.accessibilityHelpShown, 1);
}
