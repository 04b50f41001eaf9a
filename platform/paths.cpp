#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>
#include <mutex>

namespace paths {
namespace {
std::mutex g_lock;
QString g_folder;

QString exeDir() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

// Copies every file of src into dst. Files the user may change (configuration)
// are copied only when missing; shipped read-only files (language, pictures,
// sounds, help) are refreshed when the installed copy differs in size or is newer.
bool seed(const QString& src, const QString& dst) {
    QDir s(src);
    if (!s.exists()) return true;
    bool ok = true;
    QDirIterator it(src, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString rel = s.relativeFilePath(from);
        const QString to = QDir(dst).filePath(rel);
        QFileInfo fi(to), si(from);
        const bool userFile = rel.endsWith(QLatin1String(".ran"));
        if (fi.exists()) {
            if (userFile) continue;
            if (fi.size() == si.size() && fi.lastModified() >= si.lastModified()) continue;
            QFile::remove(to);
        }
        QDir().mkpath(QFileInfo(to).absolutePath());
        if (!QFile::copy(from, to)) {
            ok = false;
            continue;
        }
        // Profiles hold credentials: readable by their owner only.
        QFile::setPermissions(to, userFile ? (QFile::ReadOwner | QFile::WriteOwner)
                                           : (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther));
    }
    return ok;
}
}  // namespace

QString SharedDefaultsFolder() {
    const QByteArray env = qgetenv("LINKORA_SHARE");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QDir(exeDir()).filePath(QStringLiteral("share"));
}

QString InstalledLanguageFolder() { return QDir(exeDir()).filePath(QStringLiteral("language")); }

bool UseProgramFolder(const QString& dir, QString* error) {
    QDir d(dir);
    if (!d.exists() && !QDir().mkpath(dir)) {
        if (error) *error = QStringLiteral("cannot create %1").arg(dir);
        return false;
    }
    const QString abs = QFileInfo(dir).absoluteFilePath();
    seed(SharedDefaultsFolder(), abs);
    seed(InstalledLanguageFolder(), QDir(abs).filePath(QStringLiteral("language")));
    if (!QDir::setCurrent(abs)) {
        if (error) *error = QStringLiteral("cannot enter %1").arg(abs);
        return false;
    }
    std::lock_guard<std::mutex> g(g_lock);
    g_folder = abs;
    return true;
}

bool InitProgramFolder(const QStringList& args, QString* error) {
    QString dir;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--folder") && i + 1 < args.size()) dir = args[i + 1];
        else if (args[i].startsWith(QLatin1String("--folder="))) dir = args[i].mid(9);
    }
    if (dir.isEmpty()) {
        QString base = QString::fromLocal8Bit(qgetenv("XDG_DATA_HOME"));
        if (base.isEmpty()) base = QDir::home().filePath(QStringLiteral(".local/share"));
        dir = QDir(base).filePath(QStringLiteral("linkora"));
    }
    return UseProgramFolder(dir, error);
}

QString ProgramFolder() {
    std::lock_guard<std::mutex> g(g_lock);
    return g_folder.isEmpty() ? QDir::currentPath() : g_folder;
}

QString NativePath(const QString& stored) {
    QString p = stored;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (p.startsWith(QLatin1String("./"))) p = p.mid(2);
    if (QDir::isAbsolutePath(p)) return p;
    return QDir(ProgramFolder()).filePath(p);
}

QString InFolder(const QString& storedName) {
    QString n = storedName;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (n.startsWith(QLatin1Char('/'))) n = n.mid(1);
    return QDir(ProgramFolder()).filePath(n);
}

}  // namespace paths
