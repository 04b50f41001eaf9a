#include "velkdev/sim/memory.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

#include "platform/files.h"

namespace sim {
namespace {

const QString kFormat = QStringLiteral("linkora-simcard");
constexpr int kVersion = 1;

struct State {
    QString path;
    QJsonObject sections;
    bool loaded = false;
};
State& state() {
    static State s;
    return s;
}

bool write(const State& s) {
    QJsonObject root;
    root.insert(QStringLiteral("format"), kFormat);
    root.insert(QStringLiteral("version"), kVersion);
    root.insert(QStringLiteral("sections"), s.sections);
    return files::WriteAtomic(s.path, QJsonDocument(root).toJson(QJsonDocument::Indented));
}

// The sections of a well-formed file, or nothing for anything else.
std::optional<QJsonObject> parse(const QByteArray& bytes) {
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    const QJsonObject root = doc.object();
    if (root.value(QStringLiteral("format")).toString() != kFormat) return std::nullopt;
    if (root.value(QStringLiteral("version")).toInt(-1) != kVersion) return std::nullopt;
    const QJsonValue sections = root.value(QStringLiteral("sections"));
    if (!sections.isObject()) return std::nullopt;
    return sections.toObject();
}

}  // namespace

QJsonValue Memory::section(const QString& name) const { return state().sections.value(name); }

bool Memory::setSection(const QString& name, const QJsonValue& value) {
    State& s = state();
    if (!s.loaded) return false;
    const QJsonValue previous = s.sections.value(name);
    s.sections.insert(name, value);
    if (write(s)) return true;
    if (previous.isUndefined())
        s.sections.remove(name);
    else
        s.sections.insert(name, previous);
    return false;
}

QString Memory::encode(const void* data, std::size_t size) {
    return QString::fromLatin1(
        QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size)).toBase64());
}

QByteArray Memory::decode(const QJsonValue& text) {
    if (!text.isString()) return {};
    auto r = QByteArray::fromBase64Encoding(text.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    return r ? *r : QByteArray();
}

void Memory::load(const QString& path) {
    State& s = state();
    s.path = path;
    s.sections = QJsonObject();
    s.loaded = true;
    if (!QFile::exists(path)) return;
    const auto bytes = files::ReadAll(path);
    if (bytes) {
        if (auto sections = parse(*bytes)) {
            s.sections = *sections;
            return;
        }
    }
    // Damaged or foreign: keep it aside for inspection and start empty, so
    // the next write cannot destroy what was there.
    const QString aside = path + QStringLiteral(".damaged");
    QFile::remove(aside);
    if (!QFile::rename(path, aside)) QFile::copy(path, aside);
}

void Memory::unload() {
    State& s = state();
    s.sections = QJsonObject();
    s.loaded = false;
}

bool Memory::loaded() const { return state().loaded; }

Memory& memory() {
    static Memory m;
    return m;
}

}  // namespace sim
