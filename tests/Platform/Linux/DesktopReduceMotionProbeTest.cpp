#include "Platform/Linux/DesktopReduceMotionProbe.h"
#include "support/TestFolders.h"

#include <gtest/gtest.h>

TEST(DesktopReduceMotionProbe, ReadsKdeAnimationSpeed)
{
    struct Case {
        QByteArray text;
        std::optional<bool> reduce;
    };
    const Case cases[] = {
        {"[KDE]\nAnimationDurationFactor=0\n", true},
        {"[KDE]\nAnimationDurationFactor=0.5\n", false},
        {"[KDE]\nSingleClick=false\n", std::nullopt},
        {"[KDE]\nAnimationDurationFactor=fast\n", std::nullopt},
    };
    TestFolder folder;
    for (const Case &c : cases) {
        const QString path = folder.write(QStringLiteral("kdeglobals"), c.text);
        EXPECT_EQ(DesktopReduceMotionProbe::fromKdeGlobals(path), c.reduce) << c.text.toStdString();
    }
    EXPECT_EQ(DesktopReduceMotionProbe::fromKdeGlobals(folder.filePath(QStringLiteral("missing"))), std::nullopt);
}
