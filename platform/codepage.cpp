#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace codepage {
namespace {

std::mutex g_lock;
bool isDoubleByteGbk();
std::string& current() {
    static std::string name = [] {
        const char* env = std::getenv("LINKORA_CODEPAGE");
        return std::string(env && *env ? env : "CP936");
    }();
    return name;
}

// Converts with iconv; invalid input is replaced by `bad` (one unit) and skipped.
QByteArray convert(const std::string& from, const std::string& to, const char* in, std::size_t len,
                   const QByteArray& bad, std::size_t badInStep) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return QByteArray(in, static_cast<qsizetype>(len));
    QByteArray out;
    std::vector<char> buf(len * 4 + 16);
    char* src = const_cast<char*>(in);
    std::size_t left = len;
    while (left > 0) {
        char* dst = buf.data();
        std::size_t room = buf.size();
        std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf.data(), static_cast<qsizetype>(dst - buf.data()));
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: replace one unit and go on.
            out.append(bad);
            std::size_t step = badInStep < left ? badInStep : left;
            src += step;
            left -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

bool isDoubleByteGbk() {
    const std::string& n = Name();
    return n == "CP936" || n == "GBK" || n == "cp936" || n == "gbk";
}

}  // namespace

const std::string& Name() {
    std::lock_guard<std::mutex> g(g_lock);
    return current();
}

void SetName(const std::string& name) {
    std::lock_guard<std::mutex> g(g_lock);
    current() = name;
}

QString ToQString(const char* bytes, std::size_t maxBytes) {
    if (!bytes) return {};
    const std::size_t len = FieldLength(bytes, maxBytes);
    QByteArray u16 = convert(Name(), "UTF-16LE", bytes, len, QByteArray("\xFD\xFF", 2), 1);
    return QString(reinterpret_cast<const QChar*>(u16.constData()), u16.size() / 2);
}

QString ToQString(const QByteArray& bytes) { return ToQString(bytes.constData(), static_cast<std::size_t>(bytes.size())); }

QByteArray FromQString(const QString& text) {
    return convert("UTF-16LE", Name(), reinterpret_cast<const char*>(text.utf16()),
                   static_cast<std::size_t>(text.size()) * 2, QByteArray("?"), 2);
}

std::size_t CharLength(const char* p, std::size_t left) {
    if (left == 0) return 0;
    const auto lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) return 1;
    if (isDoubleByteGbk()) return (lead >= 0x81 && lead <= 0xFE && left >= 2) ? 2 : 1;
    iconv_t cd = iconv_open("UTF-16LE", Name().c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return 1;
    std::size_t found = 1;
    for (std::size_t n = 1; n <= 4 && n <= left; ++n) {
        char out[16];
        char* src = const_cast<char*>(p);
        char* dst = out;
        std::size_t inLeft = n, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::size_t r = iconv(cd, &src, &inLeft, &dst, &outLeft);
        if (r != static_cast<std::size_t>(-1) && inLeft == 0) {
            found = n;
            break;
        }
        if (r == static_cast<std::size_t>(-1) && errno == EILSEQ) break;  // not a character start
    }
    iconv_close(cd);
    return found;
}

std::size_t CutLength(const char* s, std::size_t len, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < len) {
        std::size_t n = CharLength(s + pos, len - pos);
        if (pos + n > maxBytes) break;
        pos += n;
    }
    return pos;
}

std::size_t CopyText(char* dst, std::size_t dstSize, const char* src, std::size_t srcMax) {
    if (!dst || dstSize == 0) return 0;
    if (!src) {
        dst[0] = 0;
        return 0;
    }
    const std::size_t len = FieldLength(src, srcMax);
    const std::size_t n = CutLength(src, len, dstSize - 1);
    std::memmove(dst, src, n);
    dst[n] = 0;
    return n;
}

std::size_t FieldLength(const char* field, std::size_t width) {
    if (!field) return 0;
    return strnlen(field, width);
}

QByteArray AnsiToUcs2(const char* s, std::size_t len) {
    return convert(Name(), "UTF-16LE", s, FieldLength(s, len), QByteArray("\xFD\xFF", 2), 1);
}

QByteArray Ucs2ToAnsi(const char* ucs2, std::size_t bytes) {
    return convert("UTF-16LE", Name(), ucs2, bytes & ~std::size_t(1), QByteArray("?"), 2);
}

}  // namespace codepage
