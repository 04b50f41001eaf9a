#include "core/strings.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

QString FindFirstMatch(const QString& folder, const QString& pattern) {
    if (folder.isEmpty() || pattern.isEmpty()) return {};
    QString dir = folder;
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    const QByteArray d = QFile::encodeName(dir);
    const QByteArray pat = QFile::encodeName(pattern);
    DIR* h = ::opendir(d.constData());
    if (!h) return {};
    QString found;
    // readdir gives the file system's own order, as the search this models does.
    while (dirent* e = ::readdir(h)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
        if (::fnmatch(pat.constData(), e->d_name, 0) != 0) continue;
        struct stat st {};
        if (::stat((d + e->d_name).constData(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        found = dir + QFile::decodeName(e->d_name);
        break;
    }
    ::closedir(h);
    return found;
}

TResStringManager::TResStringManager() { open(FindFirstMatch(QStringLiteral("./language"), QStringLiteral("*.so"))); }

TResStringManager::TResStringManager(const QString& libraryPath) { open(libraryPath); }

void TResStringManager::open(const QString& path) {
    language_ = 0;
    if (path.isEmpty() || !library_.Open(path)) return;
    load_ = reinterpret_cast<int (*)(unsigned int, char*, int)>(library_.Symbol("LinkoraLoadString"));
    if (!load_) {
        library_.Close();
        return;
    }
    lock_ = std::make_unique<std::mutex>();
}

TResStringManager::~TResStringManager() {
    lock_.reset();
    load_ = nullptr;
    library_.Close();
}

QString TResStringManager::GetString(unsigned int id) const {
    if (!lock_ || !load_) return {};
    // 500 characters of UTF-8 need up to 2000 bytes; the text is cut to 499 characters.
    char buffer[2001] = {};
    {
        std::lock_guard<std::mutex> g(*lock_);
        load_(id, buffer, sizeof buffer);
    }
    QString s = QString::fromUtf8(buffer);
    if (s.size() > 499) s.truncate(499);
    return s;
}

namespace {
std::unique_ptr<TResStringManager>& instance() {
    static std::unique_ptr<TResStringManager> m;
    return m;
}
}  // namespace

TResStringManager& StringManager() {
    if (!instance()) instance() = std::make_unique<TResStringManager>();
    return *instance();
}

void ResetStringManager() { instance().reset(); }

QString GetString(unsigned int id) { return StringManager().GetString(id); }
