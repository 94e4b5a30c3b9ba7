#pragma once

#include "Foundation/DynamicLibrary.h"

#include <QString>

#include <expected>
#include <memory>
#include <mutex>

// A library mapped only while something uses it: the first handle taken opens it and binds its
// functions, the last one let go closes it, so a library needed now and then costs nothing at
// rest. Whatever is made through a handle (an open file, a callback) must end before it does.
template <typename Table>
class ClosableLibrary {
public:
    using Handle = std::shared_ptr<const Table>;
    using BindAll = void (*)(DynamicLibrary &, Table &);

    ClosableLibrary(const char *fileName, BindAll bindAll)
        : m_fileName(fileName)
        , m_bindAll(bindAll)
    {
    }

    // The open library's table, opening it when no handle is held; why not when it cannot be.
    // A failure is not kept: the next call tries again.
    std::expected<Handle, QString> acquire()
    {
        const std::lock_guard lock(m_mutex);
        if (Handle open = m_open.lock())
            return open;
        auto loaded = DynamicLibrary::loadClosable<Table>(m_fileName, m_bindAll);
        if (loaded)
            m_open = *loaded;
        return loaded;
    }

private:
    const char *m_fileName;
    BindAll m_bindAll;
    std::mutex m_mutex;
    std::weak_ptr<const Table> m_open;
};
