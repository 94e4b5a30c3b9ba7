#pragma once

#include <QString>

#include <expected>

// A shared library opened when first needed rather than linked, so a process that never takes
// the road it serves never maps it, with its functions bound by name into a table. An opened
// library is never closed: the tables point into it, and some (PipeWire's client library)
// leave threads and handlers behind that an unload would pull from under them.
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

    template <typename Function>
    void bind(Function *&function, const char *name)
    {
        function = reinterpret_cast<Function *>(symbol(name));
    }

private:
    explicit DynamicLibrary(const char *fileName);
    void *symbol(const char *name);

    void *m_handle = nullptr;
    QString m_error;
};
