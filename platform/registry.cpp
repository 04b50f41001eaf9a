#include "platform/registry.h"

#include "platform/paths.h"

#include <QDir>
#include <QSettings>
#include <mutex>

namespace registry {
namespace {
std::recursive_mutex g_lock;
QString g_file;

QString groupOf(const QString& key) {
    QString k = key;
    k.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (k.endsWith(QLatin1Char('/'))) k.chop(1);
    return k;
}

QSettings open() { return QSettings(File(), QSettings::IniFormat); }
}  // namespace

void SetFile(const QString& path) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    g_file = path;
}

QString File() {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    return g_file.isEmpty() ? QDir(paths::ProgramFolder()).filePath(QStringLiteral("registry.ini")) : g_file;
}

static bool setValue(const QString& key, const QString& name, const QVariant& v) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    QSettings s = open();
    s.beginGroup(groupOf(key));
    s.setValue(name.isEmpty() ? QStringLiteral(".default") : name, v);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

bool SetString(const QString& key, const QString& name, const QString& value) { return setValue(key, name, value); }
bool SetDword(const QString& key, const QString& name, quint32 value) {
    return setValue(key, name, QVariant::fromValue<qulonglong>(value));
}

static std::optional<QVariant> value(const QString& key, const QString& name) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    QSettings s = open();
    const QString full = groupOf(key) + QLatin1Char('/') + (name.isEmpty() ? QStringLiteral(".default") : name);
    if (!s.contains(full)) return std::nullopt;
    return s.value(full);
}

std::optional<QString> GetString(const QString& key, const QString& name) {
    auto v = value(key, name);
    if (!v) return std::nullopt;
    return v->toString();
}

std::optional<quint32> GetDword(const QString& key, const QString& name) {
    auto v = value(key, name);
    if (!v) return std::nullopt;
    bool ok = false;
    const qulonglong n = v->toULongLong(&ok);
    if (!ok) return std::nullopt;
    return static_cast<quint32>(n);
}

bool KeyExists(const QString& key) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    QSettings s = open();
    s.beginGroup(groupOf(key));
    return !s.childKeys().isEmpty() || !s.childGroups().isEmpty();
}

QStringList SubKeys(const QString& key) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    QSettings s = open();
    s.beginGroup(groupOf(key));
    QStringList l = s.childGroups();
    l.sort();
    return l;
}

bool DeleteKey(const QString& key) {
    std::lock_guard<std::recursive_mutex> g(g_lock);
    QSettings s = open();
    s.remove(groupOf(key));
    s.sync();
    return s.status() == QSettings::NoError;
}

}  // namespace registry
