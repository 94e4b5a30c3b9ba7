#include "Services/ContentEdition.h"

ContentEdition ContentEditions::fromInfoValue(const std::optional<QString> &value)
{
    if (!value)
        return ContentEdition::legacy;
    return *value == QLatin1String("uncensored") ? ContentEdition::uncensored : ContentEdition::clean;
}

ContentEdition ContentEditions::current()
{
#if PLINKLY_HAS_EDITION
    return fromInfoValue(QStringLiteral(KNOCKWELL_EDITION_VALUE));
#else
    return fromInfoValue(std::nullopt);
#endif
}

QString ContentEditions::libraryRootName(ContentEdition edition)
{
    switch (edition) {
    case ContentEdition::legacy: return QStringLiteral("Knockwell");
    case ContentEdition::uncensored: return QStringLiteral("Knockwell Uncensored");
    case ContentEdition::clean: return QStringLiteral("Knockwell Clean");
    }
    return QStringLiteral("Knockwell");
}
