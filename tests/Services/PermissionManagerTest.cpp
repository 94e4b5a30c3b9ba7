#include "Services/PermissionManager.h"
#include "fakes/FakePermissionProbe.h"

#include <QSignalSpy>

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
