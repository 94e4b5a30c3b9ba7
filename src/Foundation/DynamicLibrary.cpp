#include "Foundation/DynamicLibrary.h"

#include <dlfcn.h>

DynamicLibrary::DynamicLibrary(const char *fileName) : m_handle(::dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
{
    if (!m_handle)
        m_error = QString::fromLocal8Bit(::dlerror());
}

void *DynamicLibrary::symbol(const char *name)
{
    void *found = ::dlsym(m_handle, name);
    // The first missing function is the one reported.
    if (!found && m_error.isEmpty())
        m_error = QString::fromLocal8Bit(::dlerror());
    return found;
}

void DynamicLibrary::Closer::operator()(void *handle) const
{
    ::dlclose(handle);
}
