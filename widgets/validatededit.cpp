#include "widgets/validatededit.h"

#include <cstdint>

TValidatedEdit::TValidatedEdit(QWidget* parent, const char* name, Rule rule) : QLineEdit(parent), rule_(std::move(rule)) {
    setObjectName(QString::fromLatin1(name));
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) { Changed(t); });
}

void TValidatedEdit::Changed(const QString& text) {
    if (restoring_) return;
    if (text.isEmpty() || !rule_ || rule_(text)) {
        lastAccepted_ = text;
        return;
    }
    restoring_ = true;
    setText(lastAccepted_);
    setCursorPosition(lastAccepted_.size());
    restoring_ = false;
}

namespace validated {
namespace {
int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
}
}  // namespace

bool IsInt32Text(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' ')) ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n) return false;  // a sign or prefix without digits
    std::uint64_t value = 0;
    const std::uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    for (; i < n; ++i) {
        const int d = hex ? hexValue(text[i]) : (text[i].unicode() >= '0' && text[i].unicode() <= '9' ? text[i].unicode() - '0' : -1);
        if (d < 0) return false;
        value = value * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
        if (value > limit) return false;
    }
    return true;
}
}  // namespace validated
