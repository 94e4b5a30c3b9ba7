#pragma once

#include <QString>

#include <expected>

// A failure as the user sees it: a fixed domain, a small code and a user-facing sentence.
struct Error {
    QString domain;
    int code = 0;
    QString message;

    bool operator==(const Error &) const = default;
};

template <typename T>
using Result = std::expected<T, Error>;

inline std::unexpected<Error> failure(QString domain, int code, QString message)
{
    return std::unexpected(Error{std::move(domain), code, std::move(message)});
}

// File errors use the codes of the Cocoa error domain so that every layer speaks the same numbers.
namespace CocoaError {
inline const QString domain = QStringLiteral("NSCocoaErrorDomain");
enum Code : int {
    fileNoSuchFile = 4,
    fileReadUnknown = 256,
    fileReadNoPermission = 257,
    fileReadCorruptFile = 259,
    fileReadNoSuchFile = 260,
    fileReadTooLarge = 263,
    fileWriteUnknown = 512,
    fileWriteNoPermission = 513,
    fileWriteFileExists = 516,
    fileWriteOutOfSpace = 640,
    validationMissingMandatoryProperty = 1570,
};
}

namespace PosixError {
inline const QString domain = QStringLiteral("NSPOSIXErrorDomain");
Error fromErrno(int errorNumber);
}
