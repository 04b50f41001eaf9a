#include "platform/library.h"

#include <QFile>
#include <dlfcn.h>

bool DynamicLibrary::Open(const QString& path) {
    Close();
    if (path.isEmpty()) return false;
    handle_ = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void DynamicLibrary::Close() {
    if (handle_) ::dlclose(handle_);
    handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }
