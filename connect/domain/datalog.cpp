#include "connect/domain/datalog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace datalog {

QDate CutoffDay(const QDate& today) {
    int year = today.year();
    int month = today.month() - 2;
    if (month < 1) {
        month += 12;
        --year;
    }
    int day = today.day();
    if (month == 4 || month == 6 || month == 9 || month == 11) {
        if (day == 31) day = 30;
    } else if (month == 2) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (day >= 29) day = leap ? 29 : 28;
    }
    return QDate(year, month, day);
}

QString DateKey(const QDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year(), d.month(), d.day());
    return QString::fromLatin1(buf).left(20);
}

QString DateKey(const _VELK_CALL_ENTRY& e) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", e.year, e.month, e.day);
    return QString::fromLatin1(buf).left(20);
}

QDateTime StartOf(const _VELK_CALL_ENTRY& e) {
    return QDateTime(QDate(e.year, e.month, e.day), QTime(e.hour, e.minute, e.second));
}

QDateTime EndOf(const _VELK_CALL_ENTRY& e) { return StartOf(e).addSecs(e.duration); }

QString TimeText(const QDateTime& t) {
    char buf[64];
    const QDate d = t.date();
    const QTime tm = t.time();
    std::snprintf(buf, sizeof buf, "%4d-%02d-%02d  %02d:%02d:%02d", d.year(), d.month(), d.day(), tm.hour(),
                  tm.minute(), tm.second());
    return QString::fromLatin1(buf);
}

QString DurationText(std::uint32_t s) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", s / 3600, (s % 3600) / 60, s % 60);
    return QString::fromLatin1(buf);
}

QString KbText(std::uint32_t bytes) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%3.2f", static_cast<double>(bytes) / 1024.0);
    return QString::fromLatin1(buf);
}

double TwoDecimals(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3.2f", value);
    return std::strtod(buf, nullptr);
}

bool MakeEntry(const ConnectionRecord& record, _VELK_CALL_ENTRY* entry) {
    std::memset(entry, 0, sizeof *entry);
    if (record.duration <= 0) return false;
    // The start is the end less the duration, so a connection across midnight
    // starts on the day before.
    const QDateTime start = record.endTime.addSecs(-static_cast<qint64>(record.duration));
    entry->firstWord = sizeof *entry;
    const std::size_t n = std::min<std::size_t>(record.userName.size(), 127);
    std::memcpy(entry->number, record.userName.data(), n);
    entry->duration = static_cast<std::uint32_t>(record.duration);
    entry->secondValue = record.bytesSent;
    entry->thirdValue = record.bytesReceived;
    entry->listKind = VELK_CALLS_DATA_LOG;
    entry->storage = 2;
    entry->year = static_cast<std::uint16_t>(start.date().year());
    entry->month = static_cast<std::uint16_t>(start.date().month());
    entry->day = static_cast<std::uint16_t>(start.date().day());
    entry->hour = static_cast<std::uint16_t>(start.time().hour());
    entry->minute = static_cast<std::uint16_t>(start.time().minute());
    entry->second = static_cast<std::uint16_t>(start.time().second());
    return true;
}

void AddToTotals(Totals& t, const _VELK_CALL_ENTRY& e, const QString& cutoffKey) {
    if (!(DateKey(e) > cutoffKey)) return;
    t.kilobytes += TwoDecimals(e.secondValue / 1024.0) + TwoDecimals(e.thirdValue / 1024.0);
    t.seconds += e.duration;
}

QString TotalDataText(const Totals& t) {
    if (t.kilobytes == 0) return QString::fromLatin1(kNothing);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%3.2f", t.kilobytes);
    return QString::fromLatin1(buf);
}

QString TotalTimeText(const Totals& t) {
    if (t.seconds == 0) return QString::fromLatin1(kNothing);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%llu:%02llu:%02llu", static_cast<unsigned long long>(t.seconds / 3600),
                  static_cast<unsigned long long>((t.seconds % 3600) / 60),
                  static_cast<unsigned long long>(t.seconds % 60));
    return QString::fromLatin1(buf);
}

}  // namespace datalog
