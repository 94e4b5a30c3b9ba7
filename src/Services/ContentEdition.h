#pragma once

#include <QString>

#include <optional>

// Which sounds this build carries; each edition keeps its own pack library.
enum class ContentEdition { legacy, uncensored, clean };

namespace ContentEditions {
// No value gives legacy, "uncensored" gives uncensored, any other text gives clean.
ContentEdition fromInfoValue(const std::optional<QString> &value);
// The edition baked into this binary at build time.
ContentEdition current();
// The pack library's root folder inside the application-data folder.
QString libraryRootName(ContentEdition edition);
}
