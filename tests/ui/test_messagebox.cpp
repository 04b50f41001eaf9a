// The message box: modes, icon kinds and their captions, the label/memo switch.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTextEdit>

#include "app/messagebox.h"
#include "core/strings.h"
#include "tests/fixture/ui_fixture.h"
#include "widgets/imagebutton.h"

class MessageBoxTest : public UiFixture {};

TEST_F(MessageBoxTest, KindsChooseIconAndCaptions) {
    struct Case {
        int kind;
        const char* visibleIcon;  // nullptr: none
        unsigned first, second;
    };
    const Case cases[] = {
        {1, "InforImage", 6, 7},    {2, "WarningImage", 6, 7}, {3, "QuestionImage", 6, 7},
        {4, "QuestionImage", 13, 14}, {5, nullptr, 6, 16},   {16, "QuestionImage", 6, 7},
        {9, nullptr, 6, 7},
    };
    for (const Case& c : cases) {
        TMessageBoxForm box(nullptr, c.kind, QStringLiteral("MSG_BUTTON_DOUBLE"));
        for (const char* icon : {"InforImage", "WarningImage", "QuestionImage"}) {
            auto* l = box.findChild<QLabel*>(QString::fromLatin1(icon));
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(!l->isHidden(), c.visibleIcon && !qstrcmp(icon, c.visibleIcon)) << "kind " << c.kind << " " << icon;
        }
        EXPECT_EQ(box.OkButton->text(), GetString(c.first)) << c.kind;
        EXPECT_EQ(box.CancleImButton->text(), GetString(c.second)) << c.kind;
        EXPECT_FALSE(box.OkButton->text().isEmpty());
    }
    // The three pictures share one place.
    TMessageBoxForm box(nullptr, 2);
    EXPECT_EQ(box.WarningImage->pos(), box.InforImage->pos());
    EXPECT_EQ(box.QuestionImage->pos(), box.InforImage->pos());
}

TEST_F(MessageBoxTest, TwentyEightCharactersInLabelTwentyNineInMemo) {
    TMessageBoxForm box(nullptr, 1);
    SetMessageBoxText(&box, QString(28, QLatin1Char('a')));
    EXPECT_FALSE(box.MessageStrLabel->isHidden());
    EXPECT_TRUE(box.MessageMemo->isHidden());
    SetMessageBoxText(&box, QString(29, QLatin1Char('b')));
    EXPECT_TRUE(box.MessageStrLabel->isHidden());
    EXPECT_FALSE(box.MessageMemo->isHidden());
    EXPECT_EQ(box.MessageMemo->toPlainText(), QString(29, QLatin1Char('b')));
}

TEST_F(MessageBoxTest, ModesShapeTheButtons) {
    TMessageBoxForm single(nullptr, 1, QStringLiteral("MSG_BUTTON_SINGLE"));
    EXPECT_TRUE(single.CancleImButton->isHidden());
    EXPECT_EQ(single.OkButton->x(), (single.width() - single.OkButton->width()) / 2);

    TMessageBoxForm none(nullptr, 1, QStringLiteral("MSG_BUTTON_NO"));
    EXPECT_TRUE(none.OkButton->isHidden());
    EXPECT_TRUE(none.CancleImButton->isHidden());
    EXPECT_TRUE(none.ImImage_Close->isHidden());
    EXPECT_EQ(none.MessageStrLabel->y(), 73);

    TMessageBoxForm dbl(nullptr, 3, QStringLiteral("MSG_BUTTON_DOUBLE"));
    EXPECT_FALSE(dbl.OkButton->isHidden());
    EXPECT_FALSE(dbl.CancleImButton->isHidden());
    EXPECT_EQ(dbl.size(), QSize(238, 150));
}

TEST_F(MessageBoxTest, ButtonsAndCloseImageGiveResults) {
    // Real modal loops, answered by clicking from a posted call.
    messagebox::SetResponder({});
    struct Case {
        const char* mode;
        const char* press;
        int result;
    };
    const Case cases[] = {
        {"MSG_BUTTON_DOUBLE", "OkButton", 1},
        {"MSG_BUTTON_DOUBLE", "CancleImButton", 2},
        {"MSG_BUTTON_DOUBLE", "ImImage_Close", 2},
        {"MSG_BUTTON_SINGLE", "OkButton", 1},
        {"MSG_BUTTON_SINGLE", "ImImage_Close", 2},
    };
    for (const Case& c : cases) {
        TMessageBoxForm box(nullptr, 3, QString::fromLatin1(c.mode));
        QMetaObject::invokeMethod(&box, [&] { box.findChild<TImageButton*>(QString::fromLatin1(c.press))->click(); },
                                  Qt::QueuedConnection);
        EXPECT_EQ(box.exec(), c.result) << c.mode << " " << c.press;
    }
}

TEST_F(MessageBoxTest, ProgressNoticeCannotBeClosedByTheUser) {
    TMessageBoxForm box(nullptr, 1, QStringLiteral("MSG_BUTTON_NO"));
    box.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&box, &esc);
    EXPECT_TRUE(box.isVisible());
    box.close();  // its owner closes it
    EXPECT_FALSE(box.isVisible());
}

TEST_F(MessageBoxTest, ResponderAnswersShowAndAsk) {
    Answer({2});
    EXPECT_EQ(AskMessageBox(nullptr, GetString(1032), 3), 2);
    ShowMessageBox(nullptr, QStringLiteral("Done"), 2);
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].mode, QStringLiteral("MSG_BUTTON_DOUBLE"));
    EXPECT_EQ(boxes_[1].kind, 2);
    EXPECT_TRUE(Shown(QStringLiteral("Done")));
}
