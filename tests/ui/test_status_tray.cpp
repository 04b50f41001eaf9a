// The tray icon: hint rule, animation through the list in use, menu items
// and their commands, double click; and the image lists it draws from.
#include <QAction>
#include <QImage>
#include <QMenu>

#include "app/tray.h"
#include "platform/timer.h"
#include "tests/fixture/ui_fixture.h"
#include "widgets/artwork_backgrounds.h"
#include "widgets/artwork_lists.h"

using artwork::ImageList;

namespace {

class TrayTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        icon_ = std::make_unique<TTrayIcon>(nullptr);
    }
    void TearDown() override {
        icon_.reset();
        UiFixture::TearDown();
    }
    std::unique_ptr<TTrayIcon> icon_;
};

TEST_F(TrayTest, HintOfSixtyFourCharactersOrMoreIsNotShown) {
    icon_->SetHint(QStringLiteral("Ready"));
    EXPECT_EQ(icon_->Hint(), QStringLiteral("Ready"));
    const QString of63(63, QLatin1Char('x')), of64(64, QLatin1Char('y')), of100(100, QLatin1Char('z'));
    icon_->SetHint(of63);
    EXPECT_EQ(icon_->Hint(), of63);
    icon_->SetHint(of64);
    EXPECT_EQ(icon_->Hint(), of63);
    icon_->SetHint(of100);
    EXPECT_EQ(icon_->Hint(), of63);
    icon_->SetHint(QString());
    EXPECT_EQ(icon_->Hint(), QString());
    // Characters, not bytes: 63 CJK characters still fit.
    const QString cjk(63, QChar(0x4e2d));
    icon_->SetHint(cjk);
    EXPECT_EQ(icon_->Hint(), cjk);
}

TEST_F(TrayTest, AnimationWrapsAfterTheLastPictureOfTheListInUse) {
    EXPECT_TRUE(icon_->Uses(ImageList::TrayMain));
    EXPECT_EQ(icon_->IconIndex(), 0);
    EXPECT_EQ(icon_->Timer_TrayAnimate->Interval(), 800);
    const struct {
        ImageList list;
        int start;
        std::vector<int> steps;
    } cases[] = {{ImageList::NewSms, 0, {1, 2, 3, 0, 1}},
                 {ImageList::Internet, 1, {2, 0, 1}},
                 {ImageList::IncomingCall, 7, {0, 1}},  // left over from the main images
                 {ImageList::TrayMain, 8, {9, 0}}};
    for (const auto& c : cases) {
        icon_->Show(c.list, c.start);
        icon_->StartAnimation();
        EXPECT_TRUE(icon_->Animating());
        for (int s : c.steps) {
            icon_->Timer_TrayAnimate->Fire();
            EXPECT_EQ(icon_->IconIndex(), s) << artwork::ImageListName(c.list);
        }
        icon_->StopAnimation();
        EXPECT_FALSE(icon_->Animating());
    }
}

TEST_F(TrayTest, MenuItemsInOrderWithTheirCaptions) {
    const QList<QAction*> actions = icon_->PopupMenu_TrayMain->actions();
    QStringList names;
    for (QAction* a : actions) names << a->objectName();
    EXPECT_EQ(names, QStringList({"Menu_PowerOff", "Menu_Offline", "Menu_Online", "Menu_FSettings", "Menu_N1",
                                  "Menu_Help", "UnlockDataCard", "Menu_About", "Menu_N2", "Menu_Exit"}));
    EXPECT_EQ(icon_->Menu_Exit->text(), Text(1011) + QStringLiteral("(&X)"));
    EXPECT_EQ(icon_->Menu_PowerOff->text(), Text(1022) + QStringLiteral("(&P)"));
    EXPECT_EQ(icon_->Menu_FSettings->text(), Text(1162) + QStringLiteral("(&F)"));
    EXPECT_EQ(icon_->Menu_Help->text(), Text(1009) + QStringLiteral("...(&H)"));
    EXPECT_EQ(icon_->Menu_About->text(), Text(1053) + QStringLiteral("...(&A)"));
    EXPECT_EQ(icon_->Menu_Offline->text(), Text(1096) + QStringLiteral("(&O)"));
    EXPECT_EQ(icon_->Menu_Online->text(), Text(1097) + QStringLiteral("(&N)"));
    EXPECT_EQ(icon_->UnlockDataCard->text(), QStringLiteral("Unlock Data Card(&U)"));
    EXPECT_TRUE(icon_->Menu_N1->isSeparator());
    EXPECT_FALSE(icon_->ItemVisible(TTrayIcon::Item::FSettings));
    EXPECT_FALSE(icon_->ItemVisible(TTrayIcon::Item::Unlock));
    EXPECT_TRUE(icon_->ItemVisible(TTrayIcon::Item::PowerOff));
}

TEST_F(TrayTest, CommandsRunOnlyWhenShownAndEnabled) {
    std::vector<std::string> ran;
    icon_->OnPowerOff = [&] { ran.push_back("poweroff"); };
    icon_->OnExit = [&] { ran.push_back("exit"); };
    icon_->OnUnlock = [&] { ran.push_back("unlock"); };
    icon_->Trigger(TTrayIcon::Item::PowerOff);
    icon_->SetItemEnabled(TTrayIcon::Item::PowerOff, false);
    icon_->Trigger(TTrayIcon::Item::PowerOff);
    icon_->Trigger(TTrayIcon::Item::Unlock);  // hidden at start
    icon_->SetItemVisible(TTrayIcon::Item::Unlock, true);
    icon_->Trigger(TTrayIcon::Item::Unlock);
    icon_->Trigger(TTrayIcon::Item::Exit);
    icon_->Trigger(TTrayIcon::Item::Help);  // no hook: nothing
    EXPECT_EQ(ran, (std::vector<std::string>{"poweroff", "unlock", "exit"}));
    EXPECT_FALSE(icon_->ItemEnabled(TTrayIcon::Item::PowerOff));
}

TEST_F(TrayTest, DoubleClickRestoresAndTheMenuBringsTheWindowForward) {
    int restores = 0, forward = 0;
    icon_->OnRestore = [&] { ++restores; };
    icon_->OnBeforeMenu = [&] { ++forward; };
    icon_->LeftDoubleClick();
    icon_->RightButtonUp();
    EXPECT_EQ(restores, 1);
    EXPECT_EQ(forward, 1);
    EXPECT_TRUE(icon_->PopupMenu_TrayMain->isVisible());
    icon_->PopupMenu_TrayMain->hide();
}

TEST_F(TrayTest, RemovedIconStaysAway) {
    icon_->SetVisible(true);
    EXPECT_TRUE(icon_->Visible());
    icon_->Remove();
    icon_->SetVisible(true);
    EXPECT_FALSE(icon_->Visible());
}

TEST(ImageLists, EveryPictureIsDrawnAndDistinct) {
    const struct {
        ImageList list;
        int count;
        QSize size;
    } lists[] = {{ImageList::RSSILevel, 6, {32, 17}},
                 {ImageList::TrayMain, 10, {16, 16}},
                 {ImageList::Internet, 3, {16, 16}},
                 {ImageList::NewSms, 4, {16, 16}},
                 {ImageList::IncomingCall, 4, {16, 16}}};
    for (const auto& l : lists) {
        ASSERT_EQ(artwork::ImageCount(l.list), l.count);
        EXPECT_EQ(artwork::ImageSize(l.list), l.size);
        std::vector<QImage> seen;
        for (int i = 0; i < l.count; ++i) {
            const QImage img = artwork::Picture(l.list, i, l.size * 2).toImage();
            EXPECT_EQ(img.size(), l.size * 2);
            int opaque = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) opaque += qAlpha(img.pixel(x, y)) > 0;
            EXPECT_GT(opaque, img.width() * img.height() / 8) << artwork::ImageListName(l.list) << " " << i;
            for (const QImage& other : seen)
                EXPECT_NE(img, other) << artwork::ImageListName(l.list) << " " << i;
            seen.push_back(img);
        }
        // Indexes wrap into the list.
        EXPECT_EQ(artwork::Picture(l.list, l.count).toImage(), artwork::Picture(l.list, 0).toImage());
    }
}

}  // namespace

// The picture files a new program folder is seeded with, at the sizes their
// windows are laid out for.
TEST_F(TrayTest, ShippedPicturesAreThereAtTheirSizes) {
    const struct {
        const char* file;
        QSize size;
    } files[] = {{"resource/image/start.jpg", {388, 242}},
                 {"resource/image/UI_UnlockForm.jpg", {580, 386}},
                 {"resource/image/logo/peluMaxLogo.bmp", {22, 22}},
                 {"resource/image/logo/peluMinLogo.bmp", {16, 16}}};
    for (const auto& f : files) {
        const QImage img(FilePath(QString::fromLatin1(f.file)));
        EXPECT_EQ(img.size(), f.size) << f.file;
    }
    EXPECT_EQ(artwork::SplashBackground().size(), QSize(388, 242));
    EXPECT_EQ(artwork::UnlockBackground().size(), QSize(580, 386));
}
