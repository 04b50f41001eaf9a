#include "app/windows.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <string>

namespace windows {
namespace {
std::map<std::string, QPointer<QWidget>>& table() {
    static std::map<std::string, QPointer<QWidget>> t;
    return t;
}
}  // namespace

void Register(const char* name, QWidget* window) { table()[name] = window; }
void Unregister(const char* name) { table().erase(name); }
QWidget* Find(const char* name) {
    auto it = table().find(name);
    return it == table().end() ? nullptr : it->second.data();
}

}  // namespace windows
