// The connection log with 10,000 entries: storing them, then the page's load,
// prune (two-month cutoff), totals and sort. Run by hand.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <cstring>

#include "calls/domain/bl_cr.h"
#include "connect/datalogform.h"
#include "connect/domain/datalog.h"
#include "core/base.h"
#include "platform/paths.h"
#include "velkdev/sim/control.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("LINKORA_SHARE", QByteArray(LINKORA_BIN_DIR "/share"));
    if (!paths::UseProgramFolder(dir.path())) return 1;
    velk_sim::SetInstantTiming(true);
    if (BL_Startup(0, 400, 0) != 0) return 1;

    const int kEntries = argc > 1 ? std::atoi(argv[1]) : 10000;
    const QDate today(2026, 6, 15);
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < kEntries; ++i) {
        datalog::ConnectionRecord r;
        // Spread over 90 days: about a third is older than the cutoff.
        r.endTime = QDateTime(today.addDays(-(i % 90)), QTime(8 + i % 12, i % 60, 0));
        r.duration = 60 + (i * 37) % 7200;
        r.userName = "user" + std::to_string(i % 17);
        r.bytesSent = static_cast<std::uint32_t>(1000 + i * 131);
        r.bytesReceived = static_cast<std::uint32_t>(5000 + i * 977);
        if (!TDataLogForm::Store(r)) return 2;
    }
    const qint64 storeMs = t.elapsed();

    QWidget panel;
    TDataLogForm log(&panel);
    log.Today = [today] { return today; };
    t.restart();
    log.Load();
    const qint64 loadMs = t.elapsed();
    const int loaded = log.ListViewDataLog->topLevelItemCount();

    t.restart();
    log.Prune();
    const qint64 pruneMs = t.elapsed();
    const int kept = log.ListViewDataLog->topLevelItemCount();

    t.restart();
    datalog::Totals totals;
    const QString cutoff = datalog::DateKey(datalog::CutoffDay(today));
    for (int rep = 0; rep < 10; ++rep) {
        totals = {};
        for (int i = 0; i < kept; ++i)
            datalog::AddToTotals(totals, TDataLogForm::EntryOf(log.ListViewDataLog->topLevelItem(i)), cutoff);
    }
    const double totalsMs = t.nsecsElapsed() / 1e6 / 10;

    t.restart();
    log.ColumnClick(2);   // start time, descending
    log.ColumnClick(5);   // bytes received
    log.ColumnClick(1);   // user name, case-insensitive text
    const double sortMs = t.nsecsElapsed() / 1e6 / 3;

    std::printf("entries stored   %d in %lld ms\n", kEntries, static_cast<long long>(storeMs));
    std::printf("load             %d rows in %lld ms\n", loaded, static_cast<long long>(loadMs));
    std::printf("prune            %d deleted, %d kept, in %lld ms (includes the reload)\n", loaded - kept, kept,
                static_cast<long long>(pruneMs));
    std::printf("totals           %.2f ms (%s KB, %s)\n", totalsMs, qPrintable(datalog::TotalDataText(totals)),
                qPrintable(datalog::TotalTimeText(totals)));
    std::printf("sort             %.2f ms per column click\n", sortMs);
    BL_Shutdown();
    return 0;
}
