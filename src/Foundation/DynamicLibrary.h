#pragma once

#include <QString>

#include <expected>
#include <memory>

// A shared library opened when first needed rather than linked, so a process that never takes
// the road it serves never maps it, with its functions bound by name into a table. An opened
// library is never closed: the tables point into it, and some (PipeWire's client library)
// leave threads and handlers behind that an unload would pull from under them. A library that
// leaves nothing behind may instead be loaded closable, and let go when its table is.
class DynamicLibrary {
public:
    // Opens `fileName` (RTLD_NOW | RTLD_LOCAL) and has `bindAll(library, table)` bind each of
    // the table's functions; yields why not when the library or a function is missing.
    template <typename Table, typename BindAll>
    static std::expected<Table, QString> load(const char *fileName, BindAll bindAll)
    {
        DynamicLibrary library(fileName);
        Table table{};
        if (library.m_error.isEmpty())
            bindAll(library, table);
        if (!library.m_error.isEmpty())
            return std::unexpected(library.m_error);
        return table;
    }

    // As load, but the library stays open only as long as a copy of the returned table lives;
    // a library lacking a function is closed at once.
    template <typename Table, typename BindAll>
    static std::expected<std::shared_ptr<const Table>, QString> loadClosable(const char *fileName, BindAll bindAll)
    {
        DynamicLibrary library(fileName);
        auto owned = std::make_shared<Owned<Table>>();
        owned->handle.reset(library.m_handle);
        if (library.m_error.isEmpty())
            bindAll(library, owned->table);
        if (!library.m_error.isEmpty())
            return std::unexpected(library.m_error);
        return std::shared_ptr<const Table>(owned, &owned->table);
    }

    template <typename Function>
    void bind(Function *&function, const char *name)
    {
        function = reinterpret_cast<Function *>(symbol(name));
    }

private:
    struct Closer {
        void operator()(void *handle) const;
    };

    template <typename Table>
    struct Owned {
        Table table{};
        std::unique_ptr<void, Closer> handle;
    };

    explicit DynamicLibrary(const char *fileName);
    void *symbol(const char *name);

    void *m_handle = nullptr;
    QString m_error;
};
