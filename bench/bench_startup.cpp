// Start-up benchmark: the program's own start-up in this process, on the
// simulated card with its realistic timing, in a fresh program folder.
//
//   time to the splash, time to create all windows (the main window's
//   creation step starts the library), time from process start to device
//   state 12, time until Timer_Start shows the main window, and the peak
//   memory of the process (VmHWM).
//
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_startup [runs]
// (each run is a new process: the program starts once per process).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

#include "app/mainform.h"
#include "app/startform.h"
#include "app/startup.h"
#include "platform/paths.h"

namespace {

// Milliseconds since this process started, from the kernel's start time.
double sinceProcessStart() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    QFile uptime(QStringLiteral("/proc/uptime"));
    if (!stat.open(QIODevice::ReadOnly) || !uptime.open(QIODevice::ReadOnly)) return -1;
    const QByteArray s = stat.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    // Field 22 (starttime) is the 20th after the command name and state.
    const double startTicks = fields.value(19).toDouble();
    const double up = uptime.readAll().split(' ').value(0).toDouble();
    return (up - startTicks / static_cast<double>(sysconf(_SC_CLK_TCK))) * 1000.0;
}

long peakKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int runOnce(QApplication& app, double atMain) {
    // A fresh program folder seeded from the built defaults, with the built
    // language library, as an installed program would have.
    qputenv("LINKORA_SHARE", QByteArray(LINKORA_BIN_DIR "/share"));
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir().mkpath(folder.filePath(QStringLiteral("language")))) return 1;
    QFile::copy(QStringLiteral(LINKORA_BIN_DIR "/language/english.so"), folder.filePath(QStringLiteral("language/english.so")));
    if (!paths::UseProgramFolder(folder.path())) return 1;
    QElapsedTimer clock;
    clock.start();

    QPointer<TStartForm> splash = new TStartForm();  // released by the main window when it shows
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    const double splashMs = clock.nsecsElapsed() / 1e6;

    QElapsedTimer create;
    create.start();
    std::vector<QWidget*> windows = startup::CreateWindows();
    const double createMs = create.nsecsElapsed() / 1e6;
    auto* main = static_cast<TMainform*>(windows.front());

    double readyMs = -1, shownMs = -1;
    QByteArray path;  // the states passed, with their times
    main->OnDeviceState = [&](std::uint8_t s) {
        path += QByteArray::number(s) + "@" + QByteArray::number(qRound(sinceProcessStart())) + " ";
        if (s == 12 && readyMs < 0) readyMs = sinceProcessStart();
    };
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shownMs < 0 && main->isVisible()) shownMs = sinceProcessStart();
        if (readyMs >= 0 && shownMs >= 0) QCoreApplication::exit(0);
    });
    poll.start();
    QTimer::singleShot(60000, [] { QCoreApplication::exit(2); });
    const int rc = app.exec();

    std::printf("main() reached      %8.1f ms after process start\n", atMain);
    std::printf("splash painted      %8.1f ms after main()\n", splashMs);
    std::printf("windows created     %8.1f ms (%zu long-lived windows)\n", createMs, windows.size());
    std::printf("device state 12     %8.1f ms after process start\n", readyMs);
    std::printf("states (code@ms)    %s\n", path.constData());
    std::printf("main window shown   %8.1f ms after process start (Timer_Start 10000 ms)\n", shownMs);
    startup::DestroyWindows(windows);
    delete splash.data();
    std::printf("peak memory (VmHWM) %8ld kB\n", peakKb());
    return rc;
}

}  // namespace

int main(int argc, char** argv) {
    const double atMain = sinceProcessStart();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc > 1 && std::atoi(argv[1]) > 1) {
        // Several runs: one child process each.
        const int runs = std::atoi(argv[1]);
        int failed = 0;
        for (int i = 0; i < runs; ++i) {
            std::printf("--- run %d\n", i + 1);
            std::fflush(stdout);
            failed += QProcess::execute(QString::fromLocal8Bit(argv[0]), {}) != 0;
        }
        return failed;
    }
    return runOnce(app, atMain);
}
