#include "Services/Packs/PackImportErrors.h"

namespace {

const char *const undecodableSentence = "“%1” isn’t a sound Plinkly can play. Use WAV, AIFF, FLAC, OGG or MP3 files of "
                                        "at most 30 seconds, mono or stereo, at 8–192 kHz.";

Error withFile(const QString &domain, int code, const QString &message, const QString &file)
{
    return Error{domain, code, message.contains(u"%1") ? message.arg(file) : message};
}

}

QString PackImportError::message(Code code)
{
    switch (code) {
    case folderUnreadable:
        return QStringLiteral("The chosen folder couldn’t be opened. Check that it is yours and readable, then import "
                              "it again.");
    case noManifest:
        return QStringLiteral("This folder isn’t a sound pack: it has no manifest.json. Choose the folder that holds "
                              "the pack’s manifest.json, or make a pack of your sounds in the Sound Studio.");
    case manifestTooLarge:
        return QStringLiteral("The pack’s manifest.json is larger than 1 MB. Shorten it, then import the pack again.");
    case expectedKeyboardPack:
        return QStringLiteral("This is a reaction pack. Import it on the Reactions page.");
    case expectedReactionPack:
        return QStringLiteral("This is a keyboard pack. Import it on the Sounds page.");
    case duplicateIdentity:
        return QStringLiteral("A pack with this ID is already installed. Duplicate it with a new ID in Pack Studio.");
    case missingFile:
        return QStringLiteral("The pack lists “%1”, but that file is missing. Add it to the pack or remove it from "
                              "manifest.json.");
    case notPlainFile:
        return QStringLiteral("“%1” is a link or a special file. A pack may contain only plain files.");
    case unreadableFile:
        return QStringLiteral("“%1” can’t be read. Check that the file is yours and readable.");
    case fileTooLarge:
        return QStringLiteral("“%1” is larger than 48 MB. Shorten the sound, then import the pack again.");
    case packTooLarge:
        return QStringLiteral("The pack’s files add up to more than 256 MB. Remove some sounds, then import the pack "
                              "again.");
    case undecodableSample:
        return QString::fromUtf8(undecodableSentence);
    case cancelled:
        return QStringLiteral("The import was cancelled.");
    case libraryNotWritable:
        return QStringLiteral("The pack couldn’t be installed because the sound library can’t be written. Free some "
                              "disk space and check that your home folder is writable, then import it again.");
    case unsupportedItems:
        return QStringLiteral("Choose one sound-pack folder or ZIP archive.");
    case nameTooLong:
        return QStringLiteral("The pack lists “%1”, whose name is longer than the 255 bytes a file name may have. "
                              "Rename the file and its line in manifest.json.");
    case fileUsedAsFolder:
        return QStringLiteral("The pack lists “%1”, but a file stands where one of its folders should be. Correct "
                              "the path in manifest.json.");
    }
    return {};
}

Error PackImportError::make(Code code, const QString &file)
{
    return withFile(domain, code, message(code), file);
}

QString ZipImportError::message(Code code)
{
    switch (code) {
    case unreadableArchive:
        return QStringLiteral("The ZIP archive couldn’t be opened. It may be damaged: download or make it again.");
    case archiveTooLarge:
        return QStringLiteral("The ZIP archive is larger than 288 MB. Remove some sounds, then archive the pack again.");
    case tooManyEntries:
        return QStringLiteral("The ZIP archive has more than 1024 entries. Leave out files the pack doesn’t use, then "
                              "archive it again.");
    case unsafePath:
        return QStringLiteral("The ZIP archive contains a file with an unsafe path. Make the archive again from the "
                              "pack’s folder.");
    case linkOrSpecialFile:
        return QStringLiteral("The ZIP archive contains a link or a special file. Put the files themselves in the pack, "
                              "then archive it again.");
    case encrypted:
        return QStringLiteral("The ZIP archive is encrypted. Import an archive without a password.");
    case entryTooLarge:
        return QStringLiteral("A file in the ZIP archive unpacks to more than 48 MB. Shorten that sound, then archive "
                              "the pack again.");
    case expandsTooMuch:
        return QStringLiteral("The ZIP archive unpacks to more than 256 MB. Remove some sounds, then archive the pack "
                              "again.");
    case damagedEntry:
        return QStringLiteral("A file in the ZIP archive is damaged. Download or make the archive again.");
    case noPack:
        return QStringLiteral("The ZIP archive doesn’t contain a sound pack: manifest.json must be at its top. Archive "
                              "the pack’s folder, with manifest.json in it.");
    case duplicateEntry:
        return QStringLiteral("The ZIP archive contains the same path more than once. Make the archive again from the "
                              "pack’s folder.");
    case unsupportedCompression:
        return QStringLiteral("The ZIP archive uses a compression method Plinkly can’t read. Make it again with ordinary "
                              "(deflate) compression.");
    case undecodableName:
        return QStringLiteral("The ZIP archive contains a file name that isn’t valid UTF-8 text. Rename the file, then "
                              "archive the pack again.");
    }
    return {};
}

Error ZipImportError::make(Code code)
{
    return Error{domain, code, message(code)};
}

QString AudioImportError::message(Code code)
{
    switch (code) {
    case noFiles:
        return QStringLiteral("Choose at least one audio file.");
    case tooManyFiles:
        return QStringLiteral("A reaction pack holds at most 256 sounds. Choose fewer files.");
    case missingFile:
        return QStringLiteral("“%1” couldn’t be found. Choose the files again.");
    case unreadableFile:
        return QStringLiteral("“%1” can’t be read. Choose a plain audio file that is yours.");
    case fileTooLarge:
        return QStringLiteral("“%1” is larger than 48 MB. Choose a shorter sound.");
    case tooMuchAudio:
        return QStringLiteral("The audio files add up to more than 256 MB. Choose fewer files.");
    case undecodable:
        return QString::fromUtf8(undecodableSentence);
    case undecodableName:
        return QStringLiteral("“%1” has a name that isn’t valid UTF-8 text. Rename the file and choose it again.");
    }
    return {};
}

Error AudioImportError::make(Code code, const QString &file)
{
    return withFile(domain, code, message(code), file);
}

bool AudioImportError::isUndecodableName(const QString &file)
{
    return file.contains(QChar::ReplacementCharacter);
}
