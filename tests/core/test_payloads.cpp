// The heap copies the core makes of callback data: each text is cut to its field.
#include <cstring>
#include <memory>
#include <string>

#include "core/payloads.h"
#include <gtest/gtest.h>

TEST(Payloads, ReportTextsAreCutToTheirFields) {
    const std::string longNumber(130, '7');
    struct Case {
        std::string number, time;
        std::size_t numberLen;
        bool timeTerminated;
    };
    const Case cases[] = {
        {"+8613912345678", "26/12/10 10:00:00+32", 14, true},
        {longNumber, std::string(24, '9'), 120, false},  // 24 characters fill the field, no terminator
        {longNumber, std::string(30, '9'), 120, false},
        {"", "", 0, true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<SmsReportRecord> r(payloads::MakeReport(3, c.number.c_str(), c.time.c_str()));
        EXPECT_EQ(r->status, 3);
        EXPECT_EQ(std::strlen(r->number), c.numberLen);
        const std::size_t timeLen = strnlen(r->time, sizeof r->time);
        EXPECT_EQ(timeLen, std::min<std::size_t>(c.time.size(), 24));
        EXPECT_EQ(timeLen < sizeof r->time, c.timeTerminated);
        EXPECT_EQ(std::string(r->time, timeLen), c.time.substr(0, 24));
    }
}

TEST(Payloads, ReportAndClass0AcceptNullTexts) {
    std::unique_ptr<SmsReportRecord> r(payloads::MakeReport(0, nullptr, nullptr));
    EXPECT_EQ(r->number[0], 0);
    EXPECT_EQ(r->time[0], 0);
    std::unique_ptr<SmsClass0Record> c(payloads::MakeClass0(nullptr, nullptr));
    EXPECT_EQ(c->sender[0], 0);
    std::unique_ptr<char[]> s(payloads::CopyString(nullptr));
    EXPECT_STREQ(s.get(), "");
}

TEST(Payloads, Class0IsCutTo120And160) {
    const std::string sender(200, '1'), text(300, 'x');
    std::unique_ptr<SmsClass0Record> c(payloads::MakeClass0(sender.c_str(), text.c_str()));
    EXPECT_EQ(std::strlen(c->sender), 120u);
    EXPECT_EQ(std::strlen(c->text), 160u);
}

TEST(Payloads, DoubleByteTextIsNotCutInHalf) {
    // 119 ASCII digits then one CP936 character (2 bytes): only 119 fit in 120.
    std::string number(119, '1');
    number += "\xD6\xD0";
    std::unique_ptr<SmsReportRecord> r(payloads::MakeReport(0, number.c_str(), ""));
    EXPECT_EQ(std::strlen(r->number), 119u);
}
