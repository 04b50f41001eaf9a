// What the PIN dialog needs of the call window, which is built later: whether
// a typed number is an emergency number, dialling it, the text typed into the
// call window's dial edit, and the call state. The call window installs its
// own implementation; until then the default one reports no call and looks
// the number up in the card's emergency list.
#pragma once

#include <QString>

namespace callseam {

// Call states as the call window announces them (1 = an outgoing call is
// being dialled, 0 = no call).
inline constexpr int kNoCall = 0;
inline constexpr int kDialling = 1;

class CallSeam {
public:
    virtual ~CallSeam() = default;
    // True when number is one of the card's emergency numbers.
    virtual bool IsEmergencyNumber(const QString& number) = 0;
    // Shows the call window and lets it dial number.
    virtual void Dial(const QString& number) = 0;
    // The text in the call window's dial edit (empty when none).
    virtual QString DialText() const = 0;
    // The call window's call state (0 none, 1 dialling, ...).
    virtual int CallState() const = 0;
};

// The default seam: no call window, no call; emergency numbers are those of
// Velk_GetEmergencyCall (an unreadable list makes no number an emergency one).
class CardEmergencySeam : public CallSeam {
public:
    bool IsEmergencyNumber(const QString& number) override;
    void Dial(const QString& number) override;
    QString DialText() const override { return {}; }
    int CallState() const override { return kNoCall; }
};

// The seam in use: the installed one, or the default.
CallSeam& Current();
// Installs seam (not owned; it must outlive its installation); null puts the
// default back.
void Install(CallSeam* seam);

}  // namespace callseam
