// The rules of the connection log that need no window: the cutoff day two
// months back, the texts of a row, the totals and the entry a finished
// connection becomes. Entries are call entries of list kind 4.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <string>

#include "velkdev/velkdev.h"

namespace datalog {

// Two months before today: the day stays, cut to the month's last day (30 in
// April, June, September, November; 28, or 29 in a leap year, in February).
QDate CutoffDay(const QDate& today);
// "%04d-%02d-%02d" of a date, the form the cutoff and entry dates compare in.
QString DateKey(const QDate& d);
QString DateKey(const _VELK_CALL_ENTRY& e);

QDateTime StartOf(const _VELK_CALL_ENTRY& e);
QDateTime EndOf(const _VELK_CALL_ENTRY& e);   // start + duration
// "%4d-%02d-%02d  %02d:%02d:%02d" (two blanks between date and time).
QString TimeText(const QDateTime& t);
QString DurationText(std::uint32_t seconds);   // "%02d:%02d:%02d"
QString KbText(std::uint32_t bytes);           // "%3.2f" of bytes / 1024
// "%3.2f" and the text read back: only two decimals count.
double TwoDecimals(double value);

// The connection record of the engine, handed over when a connection ends.
struct ConnectionRecord {
    QDateTime endTime;
    std::int32_t duration = 0;
    std::string userName;        // at most 103 characters
    std::uint32_t bytesSent = 0;
    std::uint32_t bytesReceived = 0;
};
// The entry a connection becomes; false (nothing to store) when its duration is 0.
bool MakeEntry(const ConnectionRecord& record, _VELK_CALL_ENTRY* entry);

struct Totals {
    double kilobytes = 0;
    std::uint64_t seconds = 0;
};
// Adds one entry when it is dated after the cutoff day (the cutoff day itself
// is neither pruned nor totalled).
void AddToTotals(Totals& t, const _VELK_CALL_ENTRY& e, const QString& cutoffKey);
// "%3.2f", or "________" when 0.
QString TotalDataText(const Totals& t);
// "%d:%02d:%02d" with every hour digit, or "________" when 0.
QString TotalTimeText(const Totals& t);
inline const char* kNothing = "________";

}  // namespace datalog
