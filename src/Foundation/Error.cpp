#include "Foundation/Error.h"

#include <cstring>

Error PosixError::fromErrno(int errorNumber)
{
    return Error{domain, errorNumber, QString::fromLocal8Bit(std::strerror(errorNumber))};
}
