#include "Services/Packs/SoundPackValidation.h"

#include <QStringTokenizer>
#include <QTextBoundaryFinder>

namespace {

std::unexpected<Error> broken(const char *message)
{
    return failure(SoundPackError::domain, SoundPackError::invalid, QString::fromUtf8(message));
}

bool isIdentityText(const QString &text)
{
    return !text.trimmed().isEmpty()
           && SoundPackValidation::characterCount(text) <= SoundPackValidation::maxIdentityCharacters;
}

bool isControl(char32_t codePoint)
{
    const auto category = QChar::category(codePoint);
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

}

qsizetype SoundPackValidation::characterCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

bool SoundPackValidation::isSafeRelativePath(QStringView path)
{
    if (path.isEmpty() || path.contains(u'\\') || path.contains(u':'))
        return false;
    for (char32_t codePoint : path.toUcs4()) {
        if (isControl(codePoint))
            return false;
    }
    if (characterCount(path.toString()) > maxPathCharacters)
        return false;
    for (QStringView component : QStringTokenizer(path, u'/')) {
        if (component.isEmpty() || component == u"." || component == u"..")
            return false;
    }
    return true;
}

Result<void> SoundPackValidation::validate(const SoundPackManifest &manifest)
{
    if (manifest.metadata) {
        const auto format = manifest.metadata->find(QStringLiteral("formatVersion"));
        if (format != manifest.metadata->end() && format->second != u"1")
            return broken("This pack format is not supported. Update Plinkly before importing it.");
    }
    // Checked first: a few characters may carry any number of combining marks.
    for (const QString *text : {&manifest.id, &manifest.name, &manifest.author}) {
        if (text->size() > SoundPackValidation::maxIdentityBytes
            || text->toUtf8().size() > SoundPackValidation::maxIdentityBytes)
            return broken("Pack identity, name and author must each fit in 1024 bytes");
    }
    if (!isIdentityText(manifest.id) || !isIdentityText(manifest.name) || !isIdentityText(manifest.author))
        return broken("Pack identity, name and author must contain 1–256 characters");
    if (characterCount(manifest.license) > maxLicenseCharacters)
        return broken("Rights description is too long");

    qsizetype references = 0;
    bool hasPress = false;
    for (const auto &[group, set] : manifest.groups) {
        references += set.down.size() + set.up.size();
        hasPress = hasPress || !set.down.isEmpty();
    }
    if (references > maxSampleReferences || !hasPress)
        return broken("A pack needs a press sample and at most 256 sample references");

    for (const auto &[group, set] : manifest.groups) {
        for (const QStringList *list : {&set.down, &set.up}) {
            for (const QString &path : *list) {
                if (!isSafeRelativePath(path))
                    return broken("Samples must use safe relative paths");
            }
        }
    }
    return {};
}
