// A small hierarchical key/value store standing in for the system registry.
// Keys are paths such as "HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\x";
// values are texts or 32-bit numbers. The store is a file in the program
// folder ("registry.ini"); every write replaces the file atomically.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace registry {

// The file the store lives in; defaults to <program folder>/registry.ini.
void SetFile(const QString& path);
QString File();

bool SetString(const QString& key, const QString& name, const QString& value);
bool SetDword(const QString& key, const QString& name, quint32 value);
std::optional<QString> GetString(const QString& key, const QString& name);
std::optional<quint32> GetDword(const QString& key, const QString& name);
bool KeyExists(const QString& key);
// The names of the direct sub-keys of key, in a stable order.
QStringList SubKeys(const QString& key);
bool DeleteKey(const QString& key);

}  // namespace registry
