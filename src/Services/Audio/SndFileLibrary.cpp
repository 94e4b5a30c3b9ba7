#include "Services/Audio/SndFileLibrary.h"

#include "Foundation/ClosableLibrary.h"

namespace {
void bindAll(DynamicLibrary &library, SndFileLibrary &sndfile)
{
    library.bind(sndfile.openVirtual, "sf_open_virtual");
    library.bind(sndfile.openFd, "sf_open_fd");
    library.bind(sndfile.readFloat, "sf_readf_float");
    library.bind(sndfile.writeFloat, "sf_writef_float");
    library.bind(sndfile.error, "sf_error");
    library.bind(sndfile.errorText, "sf_strerror");
    library.bind(sndfile.errorNumberText, "sf_error_number");
    library.bind(sndfile.close, "sf_close");
}
}

std::expected<std::shared_ptr<const SndFileLibrary>, QString> SndFileLibrary::acquire()
{
    static ClosableLibrary<SndFileLibrary> library("libsndfile.so.1", bindAll);
    auto handle = library.acquire();
    if (!handle)
        return std::unexpected(QStringLiteral("libsndfile could not be loaded: %1").arg(handle.error()));
    return *handle;
}
