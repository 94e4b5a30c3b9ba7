#include "Services/ContentEdition.h"
#include "Services/InstallLocationPolicy.h"

#include <gtest/gtest.h>

TEST(ContentEdition, InfoValueChoosesTheEditionAndItsLibraryRoot)
{
    struct Case {
        std::optional<QString> value;
        ContentEdition edition;
        const char *root;
    };
    const Case cases[] = {
        {std::nullopt, ContentEdition::legacy, "Knockwell"},
        {QStringLiteral("uncensored"), ContentEdition::uncensored, "Knockwell Uncensored"},
        {QStringLiteral("Uncensored"), ContentEdition::clean, "Knockwell Clean"},
        {QStringLiteral(""), ContentEdition::clean, "Knockwell Clean"},
        {QStringLiteral("clean"), ContentEdition::clean, "Knockwell Clean"},
    };
    for (const Case &c : cases) {
        const ContentEdition edition = ContentEditions::fromInfoValue(c.value);
        EXPECT_EQ(edition, c.edition) << c.value.value_or("<none>").toStdString();
        EXPECT_EQ(ContentEditions::libraryRootName(edition), QString::fromUtf8(c.root));
    }
    EXPECT_EQ(ContentEditions::current(), ContentEdition::legacy);
}

TEST(InstallLocationPolicy, SuggestsAMoveOnlyFromDownloadsOrTemporaryFolders)
{
    const QString downloads = QStringLiteral("/home/ada/Downloads");
    const QStringList temporary{QStringLiteral("/tmp")};
    struct Case {
        const char *executable;
        bool suggest;
    };
    const Case cases[] = {
        {"/home/ada/Downloads/plinkly/plinkly", true},
        {"/home/ada/Downloads/plinkly", true},
        {"/tmp/plinkly-1.0/plinkly", true},
        {"/home/ada/Applications/plinkly/plinkly", false},
        {"/home/ada/Downloads-old/plinkly", false},
        {"/tmpfiles/plinkly", false},
        {"/usr/bin/plinkly", false},
        {"/home/ada/Downloads/../Applications/plinkly", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(InstallLocationPolicy::shouldSuggestMove(QString::fromUtf8(c.executable), downloads, temporary),
                  c.suggest)
            << c.executable;
    EXPECT_FALSE(InstallLocationPolicy::shouldSuggestMove(QStringLiteral("/home/ada/x"), QString(), {}));
    EXPECT_EQ(InstallLocationPolicy::applicationsFolder(QStringLiteral("/home/ada")),
              QStringLiteral("/home/ada/.local/bin"));
}
