// The long-lived windows, reached by name from anywhere on the interface
// thread. Each window registers itself when it is created and unregisters
// when it is destroyed; lookups of a window not (or no longer) there give null.
#pragma once

#include <QString>

class QWidget;

namespace windows {

void Register(const char* name, QWidget* window);
void Unregister(const char* name);
QWidget* Find(const char* name);

template <class T>
T* Get(const char* name) {
    return dynamic_cast<T*>(Find(name));
}

}  // namespace windows
