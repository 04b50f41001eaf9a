// The about box: its labels and texts, the IMEI, the card versions read only
// when allowed, and the inner versions behind the main window's flag.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "prefs/aboutbox.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"

namespace {

class AboutTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
        StartCore();
        velk_sim::SetImei("356938035643809");
        velk_sim::SetVersions("LK3G-V1.0.2B07", "B07", "LK3G-HW-02");
    }
    void TearDown() override {
        velk_sim::ClearFailures();
        velk_sim::ResetScenario();
        UiFixture::TearDown();
    }
    // The labels shown, by object name.
    static std::vector<QString> Visible(const TAboutBox& box) {
        std::vector<QString> r;
        for (QLabel* l : box.findChildren<QLabel*>())
            if (l->objectName().startsWith(QLatin1String("Label_")) && !l->isHidden()) r.push_back(l->objectName());
        std::sort(r.begin(), r.end());
        return r;
    }
    static std::vector<QString> Names(std::initializer_list<const char*> names) {
        std::vector<QString> r;
        for (const char* n : names) r.push_back(QString::fromLatin1(n));
        std::sort(r.begin(), r.end());
        return r;
    }
};

TEST_F(AboutTest, LabelsCarryTheirTexts) {
    TAboutBox box(nullptr, false);
    EXPECT_EQ(box.size(), QSize(388, 273));
    const struct {
        QLabel* label;
        unsigned id;
    } texts[] = {
        {box.Label_ProductName, 1001},
        {box.Label_PCSoftwareVersionCaption, 1065},
        {box.Label_PCSoftwareVersion, 1068},
        {box.Label_BoardSoftwareVersionCaption, 1066},
        {box.Label_HardwareVersionCaption, 1067},
        {box.Label_PCSoftwareInterVersionCaption, 1088},
        {box.Label_PCSoftwareInterVersion, 1087},
        {box.Label_BoardSoftwareInterVersionCaption, 1089},
        {box.Label_IMEI, 21},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(t.label->text(), Text(t.id)) << t.label->objectName().toStdString();
        EXPECT_FALSE(t.label->text().isEmpty()) << t.label->objectName().toStdString();
    }
    EXPECT_EQ(box.Label_IMEINumber->text(), QStringLiteral("356938035643809"));
    // Without reading the card's versions only the PC side and the IMEI show.
    EXPECT_EQ(Visible(box), Names({"Label_ProductName", "Label_PCSoftwareVersionCaption", "Label_PCSoftwareVersion",
                                   "Label_IMEI", "Label_IMEINumber"}));
}

TEST_F(AboutTest, NoImeiLeavesTheImeiCaptionEmpty) {
    velk_sim::SetImei("");
    TAboutBox box(nullptr, false);
    EXPECT_TRUE(box.Label_IMEI->text().isEmpty());
    EXPECT_TRUE(box.Label_IMEINumber->text().isEmpty());
    velk_sim::SetImei("356938035643809");
    velk_sim::FailNext("Velk_QueryImei", 1);
    TAboutBox failed(nullptr, false);
    EXPECT_TRUE(failed.Label_IMEI->text().isEmpty());
}

TEST_F(AboutTest, CardVersionsAreShownWhenRead) {
    TAboutBox box(nullptr, false);
    box.ReadCardVersions();
    EXPECT_EQ(box.Label_BoardSoftwareVersion->text(), QStringLiteral("LK3G-V1.0.2B07"));
    EXPECT_EQ(box.Label_HardwareVersion->text(), QStringLiteral("LK3G-HW-02"));
    // Without the flag the inner versions stay hidden.
    EXPECT_EQ(Visible(box), Names({"Label_ProductName", "Label_PCSoftwareVersionCaption", "Label_PCSoftwareVersion",
                                   "Label_BoardSoftwareVersionCaption", "Label_BoardSoftwareVersion",
                                   "Label_HardwareVersionCaption", "Label_HardwareVersion", "Label_IMEI",
                                   "Label_IMEINumber"}));
    // Shown rows stack without gaps.
    EXPECT_EQ(box.Label_BoardSoftwareVersion->y(), box.Label_PCSoftwareVersion->y() + 20);
    EXPECT_EQ(box.Label_HardwareVersion->y(), box.Label_BoardSoftwareVersion->y() + 20);
}

TEST_F(AboutTest, FailingReadsLeaveTheirLabelsHidden) {
    velk_sim::FailNext("Velk_GetSoftwareVersion", 1);
    TAboutBox box(nullptr, true);
    box.ReadCardVersions();
    EXPECT_TRUE(box.Label_BoardSoftwareVersion->isHidden());
    EXPECT_TRUE(box.Label_BoardSoftwareVersionCaption->isHidden());
    EXPECT_TRUE(box.Label_BoardSoftwareInterVersion->isHidden());
    EXPECT_FALSE(box.Label_HardwareVersion->isHidden());

    velk_sim::FailNext("Velk_GetBoardVersion", 1);
    TAboutBox other(nullptr, false);
    other.ReadCardVersions();
    EXPECT_FALSE(other.Label_BoardSoftwareVersion->isHidden());
    EXPECT_TRUE(other.Label_HardwareVersion->isHidden());
    EXPECT_TRUE(other.Label_HardwareVersionCaption->isHidden());
}

TEST_F(AboutTest, InnerVersionsShowWithTheFlag) {
    const struct {
        const char* inner;
        const char* shown;
    } cases[] = {
        {"B07", "B07"},
        {"1", "Old Version befor V1.0.1B11"},
        {"11", "11"},
        {"1 ", "1 "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.inner);
        velk_sim::SetVersions("LK3G-V1.0.0B02", c.inner, "LK3G-HW-01");
        TAboutBox box(nullptr, true);
        // Before the card is read: the PC inner version and the card's inner caption.
        EXPECT_FALSE(box.Label_PCSoftwareInterVersionCaption->isHidden());
        EXPECT_FALSE(box.Label_PCSoftwareInterVersion->isHidden());
        EXPECT_FALSE(box.Label_BoardSoftwareInterVersionCaption->isHidden());
        EXPECT_TRUE(box.Label_BoardSoftwareInterVersion->isHidden());
        box.ReadCardVersions();
        EXPECT_FALSE(box.Label_BoardSoftwareInterVersion->isHidden());
        EXPECT_EQ(box.Label_BoardSoftwareInterVersion->text(), QString::fromLatin1(c.shown));
    }
}

TEST_F(AboutTest, TheAboutCommandReadsVersionsOnlyWhenAllowed) {
    for (bool allowed : {false, true}) {
        bool sawBox = false;
        bool boardShown = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* b = qobject_cast<TAboutBox*>(w); b && b->isVisible()) {
                    sawBox = true;
                    boardShown = !b->Label_BoardSoftwareVersion->isHidden() && !b->Label_HardwareVersion->isHidden();
                    EXPECT_TRUE(b->isModal());
                    b->ImImage_Title_CloseClick();
                }
        });
        RunAboutBox(nullptr, false, allowed);
        EXPECT_TRUE(sawBox) << allowed;
        EXPECT_EQ(boardShown, allowed);
    }
    // The box is freed after its run.
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(qobject_cast<TAboutBox*>(w), nullptr);
}

}  // namespace
