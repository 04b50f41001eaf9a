// A line edit that keeps only texts its rule accepts: after each change the
// whole text is checked; an accepted text becomes the last accepted one, a
// refused one is replaced by the last accepted text with the caret at its
// end. An empty edit is always accepted.
#pragma once

#include <QLineEdit>
#include <functional>

class TValidatedEdit : public QLineEdit {
    Q_OBJECT
public:
    using Rule = std::function<bool(const QString&)>;
    TValidatedEdit(QWidget* parent, const char* name, Rule rule);

    const QString& LastAccepted() const { return lastAccepted_; }

private:
    void Changed(const QString& text);
    Rule rule_;
    QString lastAccepted_;
    bool restoring_ = false;
};

namespace validated {
// True when text converts to a signed 32-bit integer: optional leading
// spaces, an optional sign, then decimal digits, or hexadecimal digits after
// "$", "x" or "0x" (any case). Decimal values must lie in the signed range;
// hexadecimal ones are 32-bit patterns (up to FFFFFFFF). Nothing may follow.
bool IsInt32Text(const QString& text);
}  // namespace validated
