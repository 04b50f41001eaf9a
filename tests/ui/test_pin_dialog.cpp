// The PIN/PUK dialog: its five modes, the OK and Cancel rules in their order,
// emergency numbers through the call seam, the attempts counted by the card,
// and the main window's dialog slots that free a dialog before replacing it.
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "app/callseam.h"
#include "app/passworddlg.h"
#include "core/messages.h"
#include "platform/codepage.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"
#include "widgets/validatededit.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

struct Posted {
    UINT msg;
    WPARAM w;
    LPARAM l;
    bool operator==(const Posted&) const = default;
};

// Stands in for the main window as the receiver of 11224 and 11225.
class Recorder : public MessageTarget {
public:
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override {
        got.push_back({msg, w, l});
        return 0;
    }
    std::vector<Posted> got;
};

// The call window as the dialogs see it: emergency numbers from the card's
// list (the default seam), with the dial text and call state set by the test
// and every dial recorded.
class FakeCalls : public callseam::CardEmergencySeam {
public:
    void Dial(const QString& number) override { dialled.push_back(number); }
    QString DialText() const override { return dialText; }
    int CallState() const override { return state; }
    std::vector<QString> dialled;
    QString dialText;
    int state = callseam::kNoCall;
};

class PinDialogTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
        StartCore();
        callseam::Install(&calls_);
    }
    void TearDown() override {
        callseam::Install(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        velk_sim::ClearFailures();
        velk_sim::ResetScenario();
        UiFixture::TearDown();
    }

    // A dialog shown as its opener would (non-modally in tests), posting to
    // the recorder and seeing device state state_.
    std::unique_ptr<TPasswordDlg> Make(int mode, std::optional<int> attempts = std::nullopt) {
        auto d = attempts ? std::make_unique<TPasswordDlg>(mode, nullptr, *attempts)
                          : std::make_unique<TPasswordDlg>(mode, nullptr);
        d->SetReceiver(recorder_.Handle());
        d->SetDeviceStateSource([this] { return state_; });
        if (mode == TPasswordDlg::kStartPin || mode == TPasswordDlg::kStartPuk) d->ShowOnTop();
        else d->show();
        return d;
    }
    std::vector<Posted> TakePosted() {
        QCoreApplication::processEvents();
        std::vector<Posted> r;
        r.swap(recorder_.got);
        return r;
    }
    std::vector<QString> Warnings() const {
        std::vector<QString> r;
        for (const auto& b : boxes_) {
            EXPECT_EQ(b.kind, 2) << b.text.toStdString();
            EXPECT_EQ(b.mode, QStringLiteral("MSG_BUTTON_SINGLE"));
            r.push_back(b.text);
        }
        return r;
    }
    static std::vector<QString> Texts(std::initializer_list<unsigned> ids) {
        std::vector<QString> r;
        for (unsigned id : ids) r.push_back(Text(id));
        return r;
    }

    Recorder recorder_;
    FakeCalls calls_;
    int state_ = 8;
};

// --- Modes ----------------------------------------------------------------

TEST_F(PinDialogTest, EachModeShowsItsPromptsAndAttempts) {
    struct Case {
        int mode;
        std::optional<int> attempts;
        unsigned prompt;        // 0: the caller's own prompt stays
        const char* attemptsText;  // the number before text 1174; null: PINLeftTimes hidden
        bool secondEdit;
    };
    const Case cases[] = {
        {1, std::nullopt, 0, nullptr, false},
        {1, 0, 0, nullptr, false},  // no count shown for 0 in mode 1
        {1, 2, 0, "2", false},
        {2, 10, 1040, "10", false},
        {2, std::nullopt, 1040, nullptr, false},
        {3, std::nullopt, 1035, nullptr, true},
        {4, 3, 1038, "3", false},
        {4, 0, 1038, "0", false},
        {4, std::nullopt, 1038, nullptr, false},
        {5, 9, 1040, "9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " attempts " << c.attempts.value_or(-1));
        auto d = c.attempts ? std::make_unique<TPasswordDlg>(c.mode, nullptr, *c.attempts)
                            : std::make_unique<TPasswordDlg>(c.mode, nullptr);
        d->Label_Password1Caption->setText(QStringLiteral("Caller's prompt"));
        d->show();
        EXPECT_EQ(d->size(), QSize(238, 150));
        EXPECT_EQ(d->Label_Password1Caption->text(), c.prompt ? Text(c.prompt) : QStringLiteral("Caller's prompt"));
        EXPECT_EQ(d->PINLeftTimes->isVisible(), c.attemptsText != nullptr);
        if (c.attemptsText) {
            EXPECT_EQ(d->PINLeftTimes->text(), QString::fromLatin1(c.attemptsText) + Text(1174));
            EXPECT_EQ(d->PINLeftTimes->y(), d->Edit_Password1->y() + 30);
        }
        EXPECT_EQ(d->Edit_Password2->isVisible(), c.secondEdit);
        EXPECT_EQ(d->Label_Password2Caption->isVisible(), c.secondEdit);
        if (c.secondEdit) EXPECT_EQ(d->Label_Password2Caption->text(), Text(1036));
        EXPECT_EQ(d->ImButton_OK->text(), Text(6));
        EXPECT_EQ(d->ImButton_Cancel->text(), Text(7));
    }
}

TEST_F(PinDialogTest, ModesPlaceThePromptAndTheEdit) {
    auto design = std::make_unique<TPasswordDlg>(TPasswordDlg::kNewPin, nullptr);
    const int promptTop = design->Label_Password1Caption->y();
    const int editTop = design->Edit_Password1->y();
    for (int mode : {1, 2}) {
        auto d = Make(mode);
        EXPECT_EQ(d->Label_Password1Caption->y(), promptTop + 15) << mode;
        EXPECT_EQ(d->Edit_Password1->y(), editTop + 15) << mode;
        d->hide();
        d->show();  // showing again does not move them again
        EXPECT_EQ(d->Edit_Password1->y(), editTop + 15) << mode;
    }
    for (int mode : {4, 5}) {
        auto d = Make(mode);
        EXPECT_EQ(d->Label_Password1Caption->y(), 26 + 20) << mode;  // 20 below the title strip
        EXPECT_EQ(d->Edit_Password1->y(), d->Label_Password1Caption->y() + 24) << mode;
        EXPECT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint) << mode;
        EXPECT_FALSE(d->isModal()) << mode;
    }
}

// --- OK --------------------------------------------------------------------

// The device state each mode is normally opened in.
constexpr int kStateOfMode[] = {0, 12, 12, 9, 8, 9};

TEST_F(PinDialogTest, OkChecksEachModeInOrder) {
    enum Outcome { kStaysOpen, kAccepted, kPosted };
    struct Case {
        int mode;
        const char* first;
        const char* second;
        std::vector<unsigned> warnings;
        Outcome outcome;
        std::vector<Posted> posted;
    };
    const std::vector<Case> cases = {
        {1, "", "", {1027}, kStaysOpen, {}},
        {1, "123", "", {1100}, kStaysOpen, {}},
        {1, "1234", "", {}, kAccepted, {}},
        {1, "12345678", "", {}, kAccepted, {}},
        {4, "", "", {1027}, kStaysOpen, {}},
        {4, "123", "", {1100}, kStaysOpen, {}},
        {4, "1234", "", {}, kPosted, {{UM_PIN_ENTERED, 100, 0}}},
        {4, "-123", "", {}, kPosted, {{UM_PIN_ENTERED, 100, 0}}},  // the card, not the dialog, judges it
        {2, "", "", {1028}, kStaysOpen, {}},
        {2, "123", "", {1101}, kStaysOpen, {}},
        {2, "1234", "", {}, kAccepted, {}},  // a 4-digit PUK passes; the card decides
        {5, "", "", {1028}, kStaysOpen, {}},
        {5, "999", "", {1101}, kStaysOpen, {}},
        {5, "1234", "", {}, kPosted, {{UM_PUK_ENTERED, 104, 0}}},
        {5, "12345678", "", {}, kPosted, {{UM_PUK_ENTERED, 104, 0}}},
        {3, "", "", {1027}, kStaysOpen, {}},
        {3, "", "1234", {1027, 1029}, kStaysOpen, {}},
        {3, "1234", "", {1027, 1029}, kStaysOpen, {}},
        {3, "123", "123", {1100}, kStaysOpen, {}},
        {3, "123", "1234", {1100, 1029}, kStaysOpen, {}},
        {3, "1234", "1235", {1029}, kStaysOpen, {}},
        {3, "1234", "1234", {}, kAccepted, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " \"" << c.first << "\" / \"" << c.second << "\"");
        boxes_.clear();
        state_ = kStateOfMode[c.mode];  // "999" in the PUK dialog is a code, not a call
        auto d = Make(c.mode);
        d->Edit_Password1->setText(QString::fromLatin1(c.first));
        d->Edit_Password2->setText(QString::fromLatin1(c.second));
        d->ImButton_OKClick();
        std::vector<QString> expected;
        for (unsigned id : c.warnings) expected.push_back(Text(id));
        EXPECT_EQ(Warnings(), expected);
        EXPECT_EQ(d->isVisible(), c.outcome == kStaysOpen);
        if (c.outcome == kAccepted) EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(TakePosted(), c.posted);
        // The code stays in the edit for whoever reads it.
        EXPECT_EQ(d->Password1(), QString::fromLatin1(c.first));
    }
}

TEST_F(PinDialogTest, OkTakesTheDialogOutOfTheTopLayer) {
    auto d = Make(TPasswordDlg::kStartPin);
    ASSERT_TRUE(d->windowFlags() & Qt::WindowStaysOnTopHint);
    bool onTopDuringWarning = true;
    messagebox::SetResponder([&](const messagebox::Shown& s) {
        boxes_.push_back(s);
        onTopDuringWarning = d->windowFlags() & Qt::WindowStaysOnTopHint;
        return 1;
    });
    d->ImButton_OKClick();  // empty: the warning must not hide behind the dialog
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_FALSE(onTopDuringWarning);
    EXPECT_TRUE(d->isVisible());
}

TEST_F(PinDialogTest, OkWhileACallIsDialledIsRefused) {
    calls_.state = callseam::kDialling;
    for (int mode : {1, 2, 3, 4, 5}) {
        boxes_.clear();
        auto d = Make(mode);
        d->Edit_Password1->setText(QStringLiteral("1234"));
        d->Edit_Password2->setText(QStringLiteral("1234"));
        d->ImButton_OKClick();
        EXPECT_EQ(Warnings(), Texts({1090})) << mode;
        EXPECT_TRUE(d->isVisible()) << mode;
        EXPECT_TRUE(TakePosted().empty()) << mode;
    }
}

// --- Cancel and the close image ---------------------------------------------

TEST_F(PinDialogTest, CancelAndCloseByMode) {
    struct Case {
        int mode;
        std::vector<Posted> cancelPosts;
        bool closeImageEnds;
    };
    const Case cases[] = {
        {1, {}, true},
        {2, {}, true},
        {3, {}, true},
        {4, {{UM_PIN_ENTERED, 102, 0}}, false},
        {5, {{UM_PUK_ENTERED, 106, 0}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        auto d = Make(c.mode);
        d->Edit_Password1->setText(QStringLiteral("1234"));
        d->ImButton_CancelClick();
        EXPECT_FALSE(d->isVisible());
        if (c.mode <= 3) EXPECT_EQ(d->result(), QDialog::Rejected);
        EXPECT_EQ(TakePosted(), c.cancelPosts);

        auto e = Make(c.mode);
        e->setResult(-1);
        e->ImImage_CloseClick();
        EXPECT_EQ(e->isVisible(), !c.closeImageEnds);
        EXPECT_EQ(e->result(), c.closeImageEnds ? QDialog::Rejected : -1);
        EXPECT_TRUE(TakePosted().empty());
    }
    EXPECT_TRUE(boxes_.empty());
}

// OK is the default button and Cancel the cancel button.
TEST_F(PinDialogTest, EnterAndEscapeAnswerAsTheButtons) {
    auto press = [](QWidget* w, int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &down);
    };
    auto d = Make(TPasswordDlg::kStartPin);
    d->Edit_Password1->setText(QStringLiteral("1234"));
    press(d.get(), Qt::Key_Return);
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{UM_PIN_ENTERED, 100, 0}}));
    auto e = Make(TPasswordDlg::kStartPuk);
    state_ = 9;
    press(e.get(), Qt::Key_Escape);
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{UM_PUK_ENTERED, 106, 0}}));
    EXPECT_FALSE(e->isVisible());
    auto f = Make(TPasswordDlg::kSettingsPin);
    press(f.get(), Qt::Key_Escape);
    EXPECT_EQ(f->result(), QDialog::Rejected);
    EXPECT_TRUE(boxes_.empty());
}

// --- Emergency numbers --------------------------------------------------------

TEST_F(PinDialogTest, AnEmergencyNumberIsDialledFromThePinDialogInState8) {
    auto d = Make(TPasswordDlg::kStartPin);
    d->Edit_Password1->setText(QStringLiteral("112"));
    d->ImButton_OKClick();
    EXPECT_EQ(calls_.dialled, std::vector<QString>{QStringLiteral("112")});
    EXPECT_TRUE(d->isVisible());  // the dialog stays for the PIN afterwards
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(TakePosted().empty());

    // The card's own list decides what an emergency number is.
    velk_sim::SetEmergencyNumbers({"5550"});
    d->ImButton_OKClick();  // "112" is no longer one: a 3-digit PIN
    EXPECT_EQ(Warnings(), Texts({1100}));
    d->Edit_Password1->setText(QStringLiteral("5550"));
    d->ImButton_OKClick();
    EXPECT_EQ(calls_.dialled.size(), 2u);
    EXPECT_EQ(calls_.dialled.back(), QStringLiteral("5550"));
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(PinDialogTest, AnEmergencyNumberOutsideState8IsTreatedAsACode) {
    state_ = 9;
    auto d = Make(TPasswordDlg::kStartPuk);
    d->Edit_Password1->setText(QStringLiteral("112"));
    d->ImButton_OKClick();
    EXPECT_TRUE(calls_.dialled.empty());
    EXPECT_EQ(Warnings(), Texts({1101}));

    // Without a state source the dialog assumes the state it was opened in.
    boxes_.clear();
    TPasswordDlg pin(TPasswordDlg::kStartPin, nullptr);
    pin.SetReceiver(recorder_.Handle());
    pin.Edit_Password1->setText(QStringLiteral("911"));
    pin.ImButton_OKClick();
    EXPECT_EQ(calls_.dialled, std::vector<QString>{QStringLiteral("911")});
    TPasswordDlg settings(TPasswordDlg::kSettingsPin, nullptr);
    settings.Edit_Password1->setText(QStringLiteral("911"));
    settings.ImButton_OKClick();
    EXPECT_EQ(calls_.dialled.size(), 1u);
    EXPECT_EQ(Warnings(), Texts({1100}));
}

TEST_F(PinDialogTest, CancelWithAnEmergencyNumberJustCloses) {
    struct Case {
        int mode;
        const char* typed;
        const char* dialText;
    };
    const Case cases[] = {
        {4, "112", ""}, {5, "911", ""}, {4, "", "112"}, {5, "", "999"}, {4, "1234", "112"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.typed << " " << c.dialText);
        calls_.dialText = QString::fromLatin1(c.dialText);
        auto d = Make(c.mode);
        d->Edit_Password1->setText(QString::fromLatin1(c.typed));
        d->ImButton_CancelClick();
        EXPECT_FALSE(d->isVisible());
        EXPECT_TRUE(TakePosted().empty());  // no state change
    }
    // A number that is not an emergency one cancels as usual.
    calls_.dialText = QStringLiteral("12345");
    auto d = Make(TPasswordDlg::kStartPin);
    d->ImButton_CancelClick();
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{UM_PIN_ENTERED, 102, 0}}));
    EXPECT_TRUE(calls_.dialled.empty());
}

TEST_F(PinDialogTest, DefaultSeamUsesTheCardsEmergencyList) {
    callseam::Install(nullptr);
    callseam::CallSeam& seam = callseam::Current();
    EXPECT_EQ(seam.CallState(), callseam::kNoCall);
    EXPECT_TRUE(seam.DialText().isEmpty());
    EXPECT_TRUE(seam.IsEmergencyNumber(QStringLiteral("112")));
    EXPECT_FALSE(seam.IsEmergencyNumber(QStringLiteral("1234")));
    EXPECT_FALSE(seam.IsEmergencyNumber(QString()));
    EXPECT_FALSE(seam.IsEmergencyNumber(QStringLiteral("11")));  // no prefix matches

    // A full 16-entry list of 35-character numbers is read to its end.
    std::vector<std::string> full;
    for (int i = 0; i < 16; ++i) full.push_back(std::string(35, static_cast<char>('0' + i % 10)));
    velk_sim::SetEmergencyNumbers(full);
    EXPECT_TRUE(seam.IsEmergencyNumber(QString::fromStdString(full[15])));
    EXPECT_FALSE(seam.IsEmergencyNumber(QStringLiteral("112")));

    // A list the card cannot give makes no number an emergency one.
    velk_sim::SetEmergencyNumbers({"112"});
    velk_sim::FailNext("Velk_GetEmergencyCall", 1);
    EXPECT_FALSE(seam.IsEmergencyNumber(QStringLiteral("112")));
    EXPECT_TRUE(seam.IsEmergencyNumber(QStringLiteral("112")));
    velk_sim::RemoveCard();
    velk_sim::Flush();
    EXPECT_FALSE(seam.IsEmergencyNumber(QStringLiteral("112")));
}

// --- With the card ------------------------------------------------------------

// The card counts the attempts; each PIN dialog shows the count the card gave.
TEST_F(PinDialogTest, WrongPinsCountDownUntilThePukDialog) {
    velk_sim::RequirePin("1234", "12345678");
    velk_sim::Flush();
    TPasswordDialogs dialogs([this] { return state_; });
    std::uint8_t pinLeft = 0, pukLeft = 0;
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pinLeft, &pukLeft), 0);
    ASSERT_EQ(pinLeft, 3);

    std::vector<QString> shownCounts;
    VELK_RESULT r = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        ASSERT_EQ(Velk_QueryPINLeftTimes(&pinLeft, &pukLeft), 0);
        TPasswordDlg* d = dialogs.OpenPin(nullptr, pinLeft);
        d->SetReceiver(recorder_.Handle());
        shownCounts.push_back(d->PINLeftTimes->text());
        d->Edit_Password1->setText(QStringLiteral("9999"));
        d->ImButton_OKClick();
        ASSERT_EQ(TakePosted(), (std::vector<Posted>{{UM_PIN_ENTERED, 100, 0}}));
        r = Velk_SetPin(codepage::FromQString(dialogs.Pin()->Password1()).constData(), nullptr);
        if (r != 7305) break;
    }
    EXPECT_EQ(shownCounts, (std::vector<QString>{QStringLiteral("3") + Text(1174), QStringLiteral("2") + Text(1174),
                                                 QStringLiteral("1") + Text(1174)}));
    EXPECT_EQ(r, 7306);  // the last wrong PIN blocks it
    std::uint8_t pinState = 0;
    ASSERT_EQ(Velk_GetPinState(&pinState), 0);
    ASSERT_EQ(pinState, VELK_PUK_REQUIRED);
    dialogs.FreePin();

    state_ = 9;
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pinLeft, &pukLeft), 0);
    TPasswordDlg* puk = dialogs.OpenPuk(nullptr, pukLeft);
    puk->SetReceiver(recorder_.Handle());
    EXPECT_EQ(puk->PINLeftTimes->text(), QString::number(pukLeft) + Text(1174));
    ASSERT_NE(dialogs.NewPin(), nullptr);
    EXPECT_FALSE(dialogs.NewPin()->isVisible());  // prepared, shown after a PUK

    // A 4-digit PUK passes the dialog; the card refuses it.
    puk->Edit_Password1->setText(QStringLiteral("4444"));
    puk->ImButton_OKClick();
    EXPECT_EQ(TakePosted(), (std::vector<Posted>{{UM_PUK_ENTERED, 104, 0}}));
    TPasswordDlg* newPin = dialogs.NewPin();
    newPin->show();
    newPin->Edit_Password1->setText(QStringLiteral("4321"));
    newPin->Edit_Password2->setText(QStringLiteral("4321"));
    newPin->ImButton_OKClick();
    ASSERT_EQ(newPin->result(), QDialog::Accepted);
    EXPECT_EQ(Velk_SetPin("4444", codepage::FromQString(newPin->Password1()).constData()), 7305);

    // The right PUK with the confirmed new PIN opens the SIM.
    EXPECT_EQ(Velk_SetPin("12345678", codepage::FromQString(newPin->Password1()).constData()), 0);
    EXPECT_EQ(velk_sim::GetPin(), "4321");
    EXPECT_TRUE(boxes_.empty());
}

// --- The main window's dialog slots ---------------------------------------------

int VisibleDialogs() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TPasswordDlg*>(w) && w->isVisible()) ++n;
    return n;
}

int LiveDialogs() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TPasswordDlg*>(w)) ++n;
    return n;
}

TEST_F(PinDialogTest, OpeningAgainFreesTheOldDialogFirst) {
    {
        TPasswordDialogs dialogs;
        QPointer<TPasswordDlg> first = dialogs.OpenPin(nullptr, 3);
        EXPECT_EQ(first->Label_Password1Caption->text(), Text(1038));
        EXPECT_TRUE(first->isVisible());
        QPointer<TPasswordDlg> second = dialogs.OpenPin(nullptr, 2);
        EXPECT_NE(first.data(), second.data());
        EXPECT_EQ(dialogs.Pin(), second.data());
        EXPECT_EQ(VisibleDialogs(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(first.isNull());
        EXPECT_FALSE(second.isNull());
        EXPECT_EQ(LiveDialogs(), 1);

        QPointer<TPasswordDlg> puk1 = dialogs.OpenPuk(nullptr, 10);
        QPointer<TPasswordDlg> new1 = dialogs.NewPin();
        QPointer<TPasswordDlg> puk2 = dialogs.OpenPuk(nullptr, std::nullopt);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(puk1.isNull());
        EXPECT_TRUE(new1.isNull());
        EXPECT_FALSE(puk2.isNull());
        EXPECT_FALSE(puk2->PINLeftTimes->isVisible());
        EXPECT_EQ(LiveDialogs(), 3);  // PIN, PUK and the hidden new PIN

        dialogs.FreePin();
        dialogs.FreePuk();
        EXPECT_EQ(dialogs.Pin(), nullptr);
        EXPECT_EQ(dialogs.Puk(), nullptr);
        EXPECT_EQ(dialogs.NewPin(), nullptr);
        EXPECT_EQ(VisibleDialogs(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(LiveDialogs(), 0);

        dialogs.OpenPin(nullptr, 1);
        dialogs.OpenPuk(nullptr, 1);
    }
    // The slots' owner frees what it still holds.
    EXPECT_EQ(LiveDialogs(), 0);
}

// State 8 arriving again while the dialog's own warning box is up (inside
// the box's nested loop) must not destroy the dialog under its handler.
TEST_F(PinDialogTest, ReplacingTheDialogWhileItsWarningIsUpIsSafe) {
    TPasswordDialogs dialogs;
    QPointer<TPasswordDlg> first = dialogs.OpenPin(nullptr, 3);
    QPointer<TPasswordDlg> second;
    bool firstAliveInBox = false;
    messagebox::SetResponder([&](const messagebox::Shown& s) {
        boxes_.push_back(s);
        // The box's modal loop: a posted state change opens the dialog again.
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&] { second = dialogs.OpenPin(nullptr, 2); });
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
        firstAliveInBox = !first.isNull();
        return 1;
    });
    first->Edit_Password1->setText(QStringLiteral("12"));
    first->ImButton_OKClick();  // warning 1100, during which the dialog is replaced
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(firstAliveInBox);
    EXPECT_EQ(dialogs.Pin(), second.data());
    EXPECT_FALSE(first->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(second.isNull());
    EXPECT_EQ(LiveDialogs(), 1);
    EXPECT_TRUE(TakePosted().empty());
}

}  // namespace
