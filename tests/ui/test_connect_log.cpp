// The connection log: the call-entry store behind it, its date rules, and the
// page with load, prune, totals, sorting, delete and clear.
#include <QLabel>
#include <QTreeWidget>
#include <cstring>

#include "calls/domain/bl_cr.h"
#include "connect/datalogform.h"
#include "connect/domain/datalog.h"
#include "core/base.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "widgets/imagebutton.h"

namespace {

_VELK_CALL_ENTRY entry(std::uint8_t kind, const QDateTime& start, std::uint32_t duration, std::uint32_t sent = 0,
                       std::uint32_t received = 0, const char* user = "user") {
    _VELK_CALL_ENTRY e{};
    e.firstWord = 174;
    std::strcpy(e.number, user);
    e.duration = duration;
    e.secondValue = sent;
    e.thirdValue = received;
    e.listKind = kind;
    e.storage = 2;
    e.year = start.date().year();
    e.month = start.date().month();
    e.day = start.date().day();
    e.hour = start.time().hour();
    e.minute = start.time().minute();
    e.second = start.time().second();
    return e;
}

QDateTime at(int y, int m, int d, int h = 12) { return QDateTime(QDate(y, m, d), QTime(h, 0, 0)); }

TEST(CallEntryFacade, WithoutACoreEveryCallAnswers4001) {
    ASSERT_EQ(BL_base(), nullptr);
    _VELK_CALL_ENTRY e{};
    EXPECT_EQ(BL_GetFirstCallEntry(4, &e), 4001);
    EXPECT_EQ(BL_GetNextCallEntry(&e), 4001);
    EXPECT_EQ(BL_SaveCallEntry(&e), 4001);
    EXPECT_EQ(BL_DeleteCallEntry(1, 2), 4001);
    EXPECT_EQ(BL_ClearCallEntries(4, 2), 4001);
}

class CallEntries : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        StartCore();
    }
    std::vector<std::string> read(std::uint8_t kind) {
        std::vector<std::string> out;
        _VELK_CALL_ENTRY e{};
        for (auto r = BL_GetFirstCallEntry(kind, &e); r == 0; r = BL_GetNextCallEntry(&e)) {
            EXPECT_EQ(e.listKind, kind);
            out.push_back(e.number);
        }
        return out;
    }
    std::uint32_t save(_VELK_CALL_ENTRY e) {
        EXPECT_EQ(BL_SaveCallEntry(&e), 0);
        return e.index;
    }
};

TEST_F(CallEntries, ListsAreKeptApartReadInOrderDeletedAndCleared) {
    save(entry(4, at(2026, 1, 1), 10, 0, 0, "a"));
    save(entry(1, at(2026, 1, 1), 0, 0, 0, "missed"));
    const std::uint32_t b = save(entry(4, at(2026, 1, 2), 10, 0, 0, "b"));
    save(entry(4, at(2026, 1, 3), 10, 0, 0, "c"));
    EXPECT_EQ(read(4), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(BL_DeleteCallEntry(b, 2), 0);
    EXPECT_NE(BL_DeleteCallEntry(b, 2), 0);   // already gone
    EXPECT_EQ(read(4), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(BL_ClearCallEntries(4, 2), 0);
    EXPECT_TRUE(read(4).empty());
    EXPECT_EQ(read(1), std::vector<std::string>{"missed"});
    _VELK_CALL_ENTRY bad = entry(9, at(2026, 1, 1), 1);
    EXPECT_NE(BL_SaveCallEntry(&bad), 0);
    bad = entry(4, at(2026, 1, 1), 1);
    bad.storage = 1;
    EXPECT_NE(BL_SaveCallEntry(&bad), 0);
}

TEST_F(CallEntries, ACallListKeepsItsNewestFifty) {
    for (int i = 0; i < 55; ++i) save(entry(3, at(2026, 1, 1), 1, 0, 0, std::to_string(i).c_str()));
    const auto dialled = read(3);
    ASSERT_EQ(dialled.size(), 50u);
    EXPECT_EQ(dialled.front(), "5");
    EXPECT_EQ(dialled.back(), "54");
    std::uint32_t count = 0;
    ASSERT_EQ(Velk_GetCallEntryCount(3, 2, &count), 0);
    EXPECT_EQ(count, 50u);
}

TEST(DataLogRules, CutoffDayIsTwoMonthsBackWithinTheMonth) {
    struct Case {
        QDate today, cutoff;
    } cases[] = {
        {{2026, 12, 31}, {2026, 10, 31}}, {{2024, 4, 30}, {2024, 2, 29}}, {{2025, 4, 30}, {2025, 2, 28}},
        {{2026, 5, 31}, {2026, 3, 31}},   {{2026, 1, 31}, {2025, 11, 30}}, {{2100, 4, 29}, {2100, 2, 28}},
        {{2000, 4, 29}, {2000, 2, 29}},   {{2026, 8, 31}, {2026, 6, 30}},  {{2026, 2, 15}, {2025, 12, 15}},
    };
    for (const auto& c : cases) EXPECT_EQ(datalog::CutoffDay(c.today), c.cutoff) << c.today.toString().toStdString();
}

TEST(DataLogRules, AConnectionBecomesAnEntryStartingDurationBeforeItsEnd) {
    datalog::ConnectionRecord r;
    r.endTime = at(2026, 3, 2, 0).addSecs(90);   // 00:01:30
    r.duration = 120;
    r.userName = std::string(140, 'u');
    r.bytesSent = 7;
    r.bytesReceived = 9;
    _VELK_CALL_ENTRY e;
    ASSERT_TRUE(datalog::MakeEntry(r, &e));
    EXPECT_EQ(e.firstWord, 174u);
    EXPECT_EQ(std::strlen(e.number), 127u);
    EXPECT_EQ(datalog::TimeText(datalog::StartOf(e)), "2026-03-01  23:59:30");
    EXPECT_EQ(datalog::TimeText(datalog::EndOf(e)), "2026-03-02  00:01:30");
    EXPECT_EQ(e.listKind, 4);
    EXPECT_EQ(e.storage, 2);
    r.duration = 0;
    EXPECT_FALSE(datalog::MakeEntry(r, &e));
}

class DataLogPage : public CallEntries {
protected:
    void SetUp() override {
        CallEntries::SetUp();
        panel = new QWidget;
        log = new TDataLogForm(panel);
        log->Today = [] { return QDate(2026, 6, 15); };   // cutoff 2026-04-15
        log->FormShow();
    }
    void TearDown() override {
        delete panel;
        CallEntries::TearDown();
    }
    int rows() const { return log->ListViewDataLog->topLevelItemCount(); }
    QString cell(int row, int col) const { return log->ListViewDataLog->topLevelItem(row)->text(col); }
    QWidget* panel = nullptr;
    TDataLogForm* log = nullptr;
};

TEST_F(DataLogPage, PruneDropsOldEntriesAndTheCutoffDayIsKeptButNotTotalled) {
    save(entry(4, at(2026, 4, 14), 3600, 10240, 20480, "old"));
    save(entry(4, at(2026, 4, 15), 3600, 10240, 20480, "cutoff"));
    save(entry(4, at(2026, 4, 16), 90, 1024, 2048, "new"));
    log->Load();
    ASSERT_EQ(rows(), 3);
    log->Prune();
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(cell(0, 1), "cutoff");
    EXPECT_EQ(log->TotleDataValue->text(), "3.00");
    EXPECT_EQ(log->TotalTime->text(), "0:01:30");
    EXPECT_EQ(cell(1, 2), "2026-04-16  12:00:00");
    EXPECT_EQ(cell(1, 3), "2026-04-16  12:01:30");
    EXPECT_EQ(cell(1, 4), "00:01:30");
    EXPECT_EQ(cell(1, 5), "2.00");
    EXPECT_EQ(cell(1, 6), "1.00");
}

TEST_F(DataLogPage, TotalsCountTwoDecimalsAndShowEveryHourDigit) {
    for (int i = 0; i < 4; ++i) save(entry(4, at(2026, 6, 1 + i), 25 * 3600, 4, 5));   // a few bytes each
    log->Load();
    EXPECT_EQ(log->TotleDataValue->text(), "________");
    EXPECT_EQ(log->TotalTime->text(), "100:00:00");
    EXPECT_EQ(BL_ClearCallEntries(4, 2), 0);
    log->Load();
    EXPECT_EQ(log->TotleDataValue->text(), "________");
    EXPECT_EQ(log->TotalTime->text(), "________");
}

TEST_F(DataLogPage, TheFirstClickSortsDescendingAndEveryClickFlips) {
    save(entry(4, at(2026, 6, 1), 50, 0, 0, "b"));
    save(entry(4, at(2026, 6, 2), 7, 0, 0, "A"));
    save(entry(4, at(2026, 6, 3), 300, 0, 0, "c"));
    log->Load();
    EXPECT_EQ(cell(0, 1), "A");   // column 1 ascending, letter case ignored
    log->ColumnClick(4);
    EXPECT_EQ(log->SortDirection(), -1);
    EXPECT_EQ(cell(0, 4), "00:05:00");
    EXPECT_EQ(cell(2, 4), "00:00:07");
    log->ColumnClick(1);
    EXPECT_EQ(log->SortDirection(), 1);
    EXPECT_EQ(cell(0, 1), "A");
    EXPECT_EQ(cell(2, 1), "c");
    log->Load();   // a reload keeps the order chosen
    EXPECT_EQ(cell(2, 1), "c");
}

TEST_F(DataLogPage, DeleteAsksAndRemovesTheSelectedRowsAndClearAllEmptiesTheLog) {
    for (const char* u : {"x", "y", "z"}) save(entry(4, at(2026, 6, 1), 10, 0, 0, u));
    log->Load();
    EXPECT_FALSE(log->DeleteButton->isEnabled());
    EXPECT_TRUE(log->ClearAllButton->isEnabled());
    log->ListViewDataLog->topLevelItem(1)->setSelected(true);
    EXPECT_TRUE(log->DeleteButton->isEnabled());
    Answer({2});
    log->DeleteButtonClick();
    EXPECT_EQ(rows(), 3);
    log->ListViewDataLog->topLevelItem(1)->setSelected(true);
    Answer({1});
    log->DeleteButtonClick();
    ASSERT_EQ(rows(), 2);
    EXPECT_TRUE(Shown(Text(6046)));
    EXPECT_EQ(read(4), (std::vector<std::string>{"x", "z"}));
    Answer({1});
    log->ClearAllButtonClick();
    EXPECT_TRUE(Shown(Text(6048)));
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(log->ClearAllButton->isEnabled());
    EXPECT_FALSE(log->DeleteButton->isEnabled());
}

TEST_F(DataLogPage, AppendStoresOnlyConnectionsOfASecondOrMore) {
    datalog::ConnectionRecord r;
    r.endTime = QDateTime(QDate(2026, 6, 10), QTime(8, 0));
    r.userName = "web";
    r.duration = 0;
    EXPECT_FALSE(log->Append(r));
    EXPECT_EQ(rows(), 0);
    r.duration = 1;
    EXPECT_TRUE(log->Append(r));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 1), "web");
}

}  // namespace
