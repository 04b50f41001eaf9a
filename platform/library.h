// Loading shared libraries at run time (the language library).
#pragma once

#include <QString>

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary() { Close(); }
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};
