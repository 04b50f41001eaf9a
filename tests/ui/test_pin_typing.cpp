// The typing rule of the PIN edits: a text must convert to a signed 32-bit
// integer (decimal, or hexadecimal after "$", "x" or "0x"); anything else
// puts the last accepted text back.
#include <QString>
#include <gtest/gtest.h>

#include "app/passworddlg.h"
#include "tests/fixture/ui_fixture.h"
#include "widgets/validatededit.h"

namespace {

struct RuleCase {
    const char* text;
    bool converts;
};

// clang-format off
const RuleCase kRuleCases[] = {
    {"1234", true},          {"0", true},               {"00001234", true},
    {"-5", true},            {"+5", true},              {"  42", true},
    {"$1F", true},           {"$1f", true},             {"0x1f", true},
    {"0X1F", true},          {"x1F", true},             {"X1f", true},
    {"-$1F", true},          {"$FFFFFFFF", true},       {"2147483647", true},
    {"-2147483648", true},
    {"12a", false},          {"a12", false},            {"99999999999", false},
    {"2147483648", false},   {"-2147483649", false},    {"$100000000", false},
    {"", false},             {"-", false},              {"+", false},
    {"$", false},            {"0x", false},             {"x", false},
    {"42 ", false},          {"4 2", false},            {"$1G", false},
    {"1.5", false},          {"--5", false},            {"0x-1", false},
    {"１２", false},  // full-width digits are not digits here
};
// clang-format on

TEST(PinTypingRule, TableOfTexts) {
    for (const RuleCase& c : kRuleCases)
        EXPECT_EQ(validated::IsInt32Text(QString::fromUtf8(c.text)), c.converts) << "text: \"" << c.text << "\"";
}

class PinTypingTest : public UiFixture {};

TEST_F(PinTypingTest, EditKeepsAcceptedTextsAndPutsTheLastOneBack) {
    TPasswordDlg dlg(TPasswordDlg::kSettingsPin, nullptr);
    TValidatedEdit* e = dlg.Edit_Password1;

    e->insert(QStringLiteral("12"));
    EXPECT_EQ(e->text(), QStringLiteral("12"));
    e->insert(QStringLiteral("a"));  // a letter is refused
    EXPECT_EQ(e->text(), QStringLiteral("12"));
    EXPECT_EQ(e->cursorPosition(), 2);

    // The caret goes to the end of the restored text, wherever the refused
    // character was typed.
    e->setText(QStringLiteral("1234"));
    e->setCursorPosition(1);
    e->insert(QStringLiteral("z"));
    EXPECT_EQ(e->text(), QStringLiteral("1234"));
    EXPECT_EQ(e->cursorPosition(), 4);
    EXPECT_EQ(e->LastAccepted(), QStringLiteral("1234"));

    // A minus sign in front of digits and "$" in front of hexadecimal digits
    // are accepted.
    e->setCursorPosition(0);
    e->insert(QStringLiteral("-"));
    EXPECT_EQ(e->text(), QStringLiteral("-1234"));
    e->setText(QStringLiteral("$1F"));
    EXPECT_EQ(e->text(), QStringLiteral("$1F"));

    // An empty edit is accepted and becomes the text put back next time.
    e->clear();
    EXPECT_EQ(e->LastAccepted(), QString());
    e->insert(QStringLiteral("-"));  // a lone sign does not convert
    EXPECT_EQ(e->text(), QString());
}

TEST_F(PinTypingTest, EditsAreMaskedAndHoldEightCharacters) {
    TPasswordDlg dlg(TPasswordDlg::kNewPin, nullptr);
    for (TValidatedEdit* e : {dlg.Edit_Password1, dlg.Edit_Password2}) {
        EXPECT_EQ(e->echoMode(), QLineEdit::Password);
        e->setText(QStringLiteral("123456789"));
        EXPECT_EQ(e->text(), QStringLiteral("12345678"));
    }
    // Each edit keeps its own last accepted text.
    dlg.Edit_Password1->setText(QStringLiteral("11"));
    dlg.Edit_Password2->setText(QStringLiteral("22"));
    dlg.Edit_Password1->insert(QStringLiteral("q"));
    EXPECT_EQ(dlg.Edit_Password1->text(), QStringLiteral("11"));
    EXPECT_EQ(dlg.Edit_Password2->text(), QStringLiteral("22"));
}

}  // namespace
