#pragma once

#include "Foundation/ClosableLibrary.h"

#include <QFile>

#include <sndfile.h>

#include <memory>

// The libsndfile functions the tests make and read back their audio files with, opened the
// program's way (only while a file is handled), so that a test may see the library closed.
struct TestSndFile {
    decltype(&sf_open) open = nullptr;
    decltype(&sf_open_virtual) openVirtual = nullptr;
    decltype(&sf_readf_float) readFloat = nullptr;
    decltype(&sf_writef_float) writeFloat = nullptr;
    decltype(&sf_writef_short) writeShort = nullptr;
    decltype(&sf_close) close = nullptr;

    // Throws when the library is missing, which fails the test that needed it.
    static std::shared_ptr<const TestSndFile> acquire()
    {
        static ClosableLibrary<TestSndFile> library("libsndfile.so.1", [](DynamicLibrary &loaded, TestSndFile &sndfile) {
            loaded.bind(sndfile.open, "sf_open");
            loaded.bind(sndfile.openVirtual, "sf_open_virtual");
            loaded.bind(sndfile.readFloat, "sf_readf_float");
            loaded.bind(sndfile.writeFloat, "sf_writef_float");
            loaded.bind(sndfile.writeShort, "sf_writef_short");
            loaded.bind(sndfile.close, "sf_close");
        });
        return library.acquire().value();
    }

    // Whether libsndfile is mapped into this process. PulseAudio's client library links it, so
    // it stays mapped once that library is loaded.
    static bool mapped()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libsndfile.so");
    }

    static bool pulseAudioMapped()
    {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/libpulse");
    }
};
