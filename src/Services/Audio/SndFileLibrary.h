#pragma once

#include <QString>

#include <sndfile.h>

#include <expected>
#include <memory>

// libsndfile's functions, through a library opened for each stretch of decoding or writing and
// closed after it: it brings the FLAC, Vorbis, Opus, MP3 and Ogg codecs along (about 1.1 MiB
// resident), used only while a pack or a clip is read or a clip written. A file opened through
// a handle must be closed before the handle is let go.
struct SndFileLibrary {
    decltype(&sf_open_virtual) openVirtual = nullptr;
    decltype(&sf_open_fd) openFd = nullptr;
    decltype(&sf_readf_float) readFloat = nullptr;
    decltype(&sf_writef_float) writeFloat = nullptr;
    decltype(&sf_error) error = nullptr;
    decltype(&sf_strerror) errorText = nullptr;
    decltype(&sf_error_number) errorNumberText = nullptr;
    decltype(&sf_close) close = nullptr;

    // The open library, or a sentence saying why it cannot be loaded.
    static std::expected<std::shared_ptr<const SndFileLibrary>, QString> acquire();
};
