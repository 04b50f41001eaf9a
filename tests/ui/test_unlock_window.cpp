// The network-unlock window: its fixed texts and the card's IMEI, the
// 16-character rule, and the unlock step with each outcome of the card.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "app/unlocknet.h"
#include "platform/paths.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"

namespace {

const char* const kCode = "1234567890ABCDEF";

class UnlockTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
        StartCore();
    }
    void TearDown() override {
        velk_sim::ClearFailures();
        velk_sim::ResetScenario();
        UiFixture::TearDown();
    }

    // Runs the unlock step; act plays the user on the window once it is up.
    int Run(QWidget* owner, bool online, std::function<void(TUI_UnlockNetFrm&)> act) {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<TUI_UnlockNetFrm*>(w); f && f->isVisible()) {
                    acted = true;
                    act(*f);
                    return;
                }
            ADD_FAILURE() << "no unlock window";
        });
        const int next = RunNetworkUnlock(owner, online);
        EXPECT_TRUE(acted);
        return next;
    }
    static void Enter(TUI_UnlockNetFrm& f, const char* code) {
        f.Edit_Password->setText(QString::fromLatin1(code));
        f.OkButtonClick();
    }
};

TEST_F(UnlockTest, ShowsTheFixedTextsAndTheCardsImei) {
    velk_sim::SetImei("356938035643809");
    TUI_UnlockNetFrm f(nullptr);
    EXPECT_EQ(f.size(), QSize(580, 386));
    EXPECT_EQ(f.lbl_IMEI->text(), QStringLiteral("356938035643809"));
    EXPECT_EQ(f.Label_Intro->text(), QStringLiteral("To Network Unlock the datacard, contact Varenta Customer Care by phone and "
                                                    "quote this IMEI number for the datacard."));
    EXPECT_EQ(f.Label_IMEICaption->text(), QStringLiteral("Your Datacard IMEI Code is: "));
    EXPECT_EQ(f.Label_Instructions->text(),
              QStringLiteral("Follow the instructions from Varenta and enter the quoted unlock code below when advised. "));
    EXPECT_EQ(f.Label_CodeCaption->text(), QStringLiteral("Unlock Code: "));
    EXPECT_EQ(f.Label_Note->text(), QStringLiteral("Note: If the wrong unlock code is entered five times, the card will no "
                                                   "longer be unlockable. Contact Varenta Customer Care for further details."));
    EXPECT_EQ(f.OkButton->text(), QStringLiteral("OK"));
    EXPECT_EQ(f.CancelButton->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(f.Edit_Password->echoMode(), QLineEdit::Normal);

    // The IMEI is read once, at creation; a failed read shows nothing.
    velk_sim::FailNext("Velk_QueryImei", 1);
    TUI_UnlockNetFrm g(nullptr);
    EXPECT_TRUE(g.lbl_IMEI->text().isEmpty());
}

TEST_F(UnlockTest, OkIsEnabledOnlyWithSixteenCharacters) {
    TUI_UnlockNetFrm f(nullptr);
    EXPECT_FALSE(f.OkButton->isEnabled());
    const struct {
        int length;
        bool enabled;
    } cases[] = {{1, false}, {8, false}, {15, false}, {16, true}, {17, true}, {15, false}, {0, false}};
    for (const auto& c : cases) {
        f.Edit_Password->setText(QString(c.length, QLatin1Char('7')));
        EXPECT_EQ(f.OkButton->isEnabled(), c.enabled) << c.length;
    }
    f.Edit_Password->setText(QString(17, QLatin1Char('7')));
    EXPECT_EQ(f.Code().size(), 16);  // at most 16 characters
}

TEST_F(UnlockTest, OkRefusesEmptyAndShortCodes) {
    TUI_UnlockNetFrm f(nullptr);
    f.show();
    f.setResult(-1);
    f.OkButtonClick();
    f.Edit_Password->setText(QString(15, QLatin1Char('1')));
    f.OkButtonClick();
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, Text(1159));
    EXPECT_EQ(boxes_[1].text, Text(1160));
    EXPECT_EQ(boxes_[0].kind, 2);
    EXPECT_EQ(boxes_[1].kind, 2);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.result(), -1);
    f.Edit_Password->setText(QString::fromLatin1(kCode));
    f.OkButtonClick();
    EXPECT_EQ(f.result(), QDialog::Accepted);
    EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(UnlockTest, EachOutcomeOfTheCardLeadsToItsState) {
    struct Case {
        const char* name;
        int attempts;        // unlock attempts the card has left
        const char* typed;   // null: cancelled
        bool online;
        int next;
        unsigned box;        // 0: none
        int boxKind;
    };
    const Case cases[] = {
        {"unlocked online", 5, kCode, true, 13, 1158, 1},
        {"unlocked offline", 5, kCode, false, 7, 1158, 1},
        {"refused online", 5, "0000000000000000", true, 13, 0, 0},
        {"refused offline", 5, "0000000000000000", false, 14, 0, 0},
        {"refused, last attempt left", 2, "0000000000000000", false, 14, 0, 0},
        {"last attempt used", 1, "0000000000000000", true, 22, 1161, 2},
        {"locked for good before", 0, kCode, true, 22, 0, 0},
        {"cancelled online", 5, nullptr, true, 22, 0, 0},
        {"cancelled offline", 5, nullptr, false, 22, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.clear();
        velk_sim::SetLock(2, kCode, c.attempts);
        const int next = Run(nullptr, c.online, [&](TUI_UnlockNetFrm& f) {
            EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_TRUE(f.isModal());
            if (c.typed) Enter(f, c.typed);
            else f.CancelButtonClick();
        });
        EXPECT_EQ(next, c.next);
        if (c.box) {
            ASSERT_EQ(boxes_.size(), 1u);
            EXPECT_EQ(boxes_[0].text, Text(c.box));
            EXPECT_EQ(boxes_[0].kind, c.boxKind);
        } else {
            EXPECT_TRUE(boxes_.empty());
        }
    }
}

TEST_F(UnlockTest, CancelOrCloseLeavesTheCardAlone) {
    velk_sim::SetLock(2, kCode, 5);
    EXPECT_EQ(Run(nullptr, true, [](TUI_UnlockNetFrm& f) { f.ImImage_Title_CloseClick(); }), 22);
    EXPECT_EQ(Run(nullptr, true, [](TUI_UnlockNetFrm& f) {
                  f.Edit_Password->setText(QStringLiteral("0000000000000000"));
                  f.CancelButtonClick();
              }),
              22);
    EXPECT_EQ(velk_sim::LockAttemptsLeft(), 5);
    std::uint8_t status = 0;
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, 2);
}

TEST_F(UnlockTest, AFailingUnlockCallPostsNothing) {
    velk_sim::SetLock(2, kCode, 5);
    velk_sim::FailNext("Velk_UnlockNet", 1);
    EXPECT_EQ(Run(nullptr, true, [](TUI_UnlockNetFrm& f) { Enter(f, kCode); }), 0);
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(UnlockTest, TheDisabledMainWindowIsEnabledAgain) {
    velk_sim::SetLock(2, kCode, 5);
    for (bool cancel : {false, true}) {
        QWidget owner;
        owner.show();
        owner.setEnabled(false);  // as the main window does before the step
        bool windowUsable = false;
        bool ownerEnabledAtBox = false;
        messagebox::SetResponder([&](const messagebox::Shown& s) {
            boxes_.push_back(s);
            ownerEnabledAtBox = owner.isEnabled();
            return 1;
        });
        Run(&owner, true, [&](TUI_UnlockNetFrm& f) {
            windowUsable = f.isEnabled() && f.Edit_Password->isEnabled();
            if (cancel) f.CancelButtonClick();
            else Enter(f, "0000000000000000");
        });
        EXPECT_TRUE(windowUsable) << cancel;
        EXPECT_TRUE(owner.isEnabled()) << cancel;
        if (!boxes_.empty()) EXPECT_TRUE(ownerEnabledAtBox);
    }
    // The right code: the information box comes after the main window is usable again.
    QWidget owner;
    owner.setEnabled(false);
    bool ownerEnabledAtBox = false;
    messagebox::SetResponder([&](const messagebox::Shown&) {
        ownerEnabledAtBox = owner.isEnabled();
        return 1;
    });
    EXPECT_EQ(Run(&owner, true, [](TUI_UnlockNetFrm& f) { Enter(f, kCode); }), 13);
    EXPECT_TRUE(ownerEnabledAtBox);
}

TEST_F(UnlockTest, BackgroundPictureFromTheProgramFolder) {
    const QString file = FilePath(QStringLiteral("resource/image/UI_UnlockForm.jpg"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    QFile::remove(file);
    {
        TUI_UnlockNetFrm f(nullptr);
        EXPECT_FALSE(f.HasBackgroundPicture());
        EXPECT_FALSE(f.grab().isNull());  // drawn without it
    }
    QImage picture(580, 386, QImage::Format_RGB32);
    picture.fill(QColor(200, 30, 30));
    ASSERT_TRUE(picture.save(file, "JPG"));
    TUI_UnlockNetFrm f(nullptr);
    EXPECT_TRUE(f.HasBackgroundPicture());
    const QImage shot = f.grab().toImage();
    // The picture shows at the top left, outside the text panel.
    const QColor corner = shot.pixelColor(8, shot.height() - 8);
    EXPECT_GT(corner.red(), 150);
    EXPECT_LT(corner.green(), 80);

    // A damaged file is no picture, not a crash.
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("\xff\xd8\xff garbage");
    damaged.close();
    TUI_UnlockNetFrm g(nullptr);
    EXPECT_FALSE(g.HasBackgroundPicture());
}

}  // namespace
