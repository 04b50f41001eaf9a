// The SMS store at size: for N and 2N messages (default N = 10,000)
//   1. load and join the computer store, a third of it parts of 3-part messages
//      (also the joining alone, on the unjoined list);
//   2. enumerate the inbox with the sender's name looked up among N/2
//      computer contacts (half the senders are contacts);
//   3. 100 new messages arriving into the loaded store (fetch, file, join,
//      recount each).
// Each figure is the best of five runs, in CPU time of the interface thread.
//   bench_sms [N]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/base.h"
#include "core/settings_store.h"
#include "phonebook/domain/bl_pb.h"
#include "platform/paths.h"
#include "sms/domain/bl_sms.h"
#include "sms/domain/sms_convert.h"
#include "sms/domain/sms_join.h"
#include "sms/domain/tbl_sms.h"
#include "velkdev/sim/control_sms.h"

namespace {

// CPU time of this thread: on a shared machine wall time mostly measures
// the other programs. Everything timed here runs on this thread (the library
// calls included), except the hand-over of an arrival to the library thread.
double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

double bestMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        const double start = threadCpuMs();
        work();
        ms.push_back(threadCpuMs() - start);
    }
    std::sort(ms.begin(), ms.end());
    return ms.front();  // the least disturbed run: the machine is shared
}

std::string contactNumber(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "139%08d", i);
    return buf;
}

// n messages: every third a part of a 3-part message, senders spread over
// the contacts (even senders are contacts, odd ones are not).
std::vector<velk_sim::IncomingSms> messages(int n, int contacts) {
    std::vector<velk_sim::IncomingSms> out;
    out.reserve(static_cast<std::size_t>(n));
    int concatenated = 0;
    for (int i = 0; i < n; ++i) {
        velk_sim::IncomingSms m;
        const int who = i % (2 * contacts);
        m.sender = who % 2 == 0 ? "+86" + contactNumber(who / 2) : "+86137" + std::to_string(10000000 + who);
        m.status = 1;
        if (i % 3 == 2) {
            const int msg = concatenated / 3;
            m.reference = static_cast<std::uint16_t>(msg % 255 + 1);
            m.total = 3;
            m.part = static_cast<std::uint8_t>(concatenated % 3 + 1);
            m.sender = "+86" + contactNumber(msg % contacts);
            m.text = "part " + std::to_string(m.part) + " of message " + std::to_string(msg) + " ";
            ++concatenated;
        } else {
            m.text = "Message number " + std::to_string(i) + ": see you at the station at eight.";
        }
        out.push_back(m);
    }
    return out;
}

bool run(int n, double out[4]) {
    QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/bench_sms_XXXXXX")
                                                               : QDir::tempPath() + QStringLiteral("/bench_sms_XXXXXX"));
    if (!paths::UseProgramFolder(dir.path())) return false;
    velk_sim::ResetScenario();
    velk_sim::SetInstantTiming(true);
    if (BL_Startup(0, 400, 0) != 0) return false;
    // Room for the store and the arrivals.
    _VELK_FIELD_SIZES f{};
    f.cbSize = sizeof f;
    f.storage = STORAGE_PC;
    Velk_GetFieldSizes(&f);
    f.messageCapacity = static_cast<std::uint32_t>(n + 1000);
    f.contactCapacity = static_cast<std::uint32_t>(n + 1000);
    velk_sim::SetFieldSizes(STORAGE_PC, f);
    BL_base()->set->RefreshCapacities();

    const int contacts = n / 2;
    for (int i = 0; i < contacts; ++i) {
        _VELK_CONTACT_RECORD c{};
        c.storage = STORAGE_PC;
        std::snprintf(c.name, sizeof c.name, "Contact %d", i);
        std::strcpy(c.numbers[0].number, contactNumber(i).c_str());
        const _VELK_CONTACT_RECORD* stored = nullptr;
        if (BL_AddContact(&c, &stored) != 0) {
            std::fprintf(stderr, "contact %d not added\n", i);
            return false;
        }
    }
    if (velk_sim::StoreSms(STORAGE_PC, messages(n, contacts)) != n) return false;

    // 1. load and join; the joining alone on the unjoined list.
    out[0] = bestMs(5, nullptr, [] { BL_LoadSms(STORAGE_PC); });
    SmsList raw;
    for (const auto& d : velk_sim::StoredMessages(STORAGE_PC)) {
        _VELK_MESSAGE_RECORD r = d;
        raw.push_back(std::make_unique<SmsRecord>(smsconv::FromDevice(r)));
    }
    SmsList work;
    out[1] = bestMs(
        5,
        [&] {
            work.clear();
            for (const auto& r : raw) work.push_back(std::make_unique<SmsRecord>(*r));
        },
        [&] { JoinConcatenated(work); });

    // 2. the inbox with names.
    int named = 0, seen = 0;
    out[2] = bestMs(5, nullptr, [&] {
        named = seen = 0;
        SmsRecord r{};
        r.storage = STORAGE_PC;
        r.folder = 1;
        for (std::uint16_t res = BL_GetFirstSms(&r); res == 0; res = BL_GetNextSms(&r)) {
            ++seen;
            named += r.name[0] != 0;
        }
    });

    // 3. arrivals, each handled as the interface thread does.
    out[3] = bestMs(5, nullptr, [&] {
                 for (int i = 0; i < 100; ++i) {
                     velk_sim::IncomingSms m;
                     m.text = "new " + std::to_string(i);
                     velk_sim::DeliverSms(STORAGE_PC, m);
                     velk_sim::Flush();
                     QCoreApplication::processEvents();
                 }
             }) / 100.0;
    std::printf("  (%d records enumerated, %d named; %d contacts)\n", seen, named, contacts);
    return BL_Shutdown() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qputenv("LINKORA_SHARE", QByteArray(LINKORA_BIN_DIR "/share"));
    const int n = argc > 1 ? std::max(30, std::atoi(argv[1])) : 10000;
    const char* names[4] = {"load and join (library, convert, join, recount)", "join alone",
                            "enumerate the inbox with name lookup", "one arrival into the store"};
    double a[4], b[4];
    std::printf("N = %d\n", n);
    if (!run(n, a)) return 1;
    std::printf("2N = %d\n", 2 * n);
    if (!run(2 * n, b)) return 1;
    std::printf("%-50s %12s %12s %8s\n", "", "N", "2N", "ratio");
    for (int i = 0; i < 4; ++i) std::printf("%-50s %9.2f ms %9.2f ms %8.2f\n", names[i], a[i], b[i], b[i] / a[i]);
    return 0;
}
