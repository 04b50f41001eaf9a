// Starts and stops the business core on the simulated card many times and
// reports the median cycle time and the peak memory of the process.
//   bench_core [cycles]   (default 1000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/base.h"
#include "platform/paths.h"
#include "velkdev/sim/control.h"

static long peakKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    qputenv("LINKORA_SHARE", QByteArray(LINKORA_BIN_DIR "/share"));
    paths::UseProgramFolder(dir.path());
    velk_sim::SetInstantTiming(true);

    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(cycles));
    const long before = peakKiB();
    for (int i = 0; i < cycles; ++i) {
        QElapsedTimer t;
        t.start();
        if (BL_Startup(0, 400, 0) != 0 || BL_Shutdown() != 0) {
            std::fprintf(stderr, "cycle %d failed\n", i);
            return 1;
        }
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("cycles %d  median %.3f ms  p90 %.3f ms  max %.3f ms\n", cycles, ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.back());
    std::printf("peak memory %ld KiB (after first setup %ld KiB)\n", peakKiB(), before);
    return 0;
}
