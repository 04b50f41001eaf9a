// The phonebook store at N and 2N: adding N contacts to the PC storage, and
// the number search of 2N texts against them (the SMS store looks up the
// sender of every message it lists). Each size runs three times on a fresh
// store; the median is shown (the first round also pays for warming up).
// Run by hand:
//   bench_phonebook [N]   (default 5000; the PC storage holds 10,000)
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/bl.h"
#include "phonebook/domain/pb_fit.h"
#include "phonebook/domain/pb_list.h"
#include "platform/paths.h"
#include "velkdev/sim/control.h"

namespace {

struct Figures {
    double addMs = 0, ownMs = 0, searchMs = 0;
    int found = 0;
};

_VELK_CONTACT_RECORD makeContact(int i, const std::string& mobile) {
    _VELK_CONTACT_RECORD r{};
    r.storage = STORAGE_PC;
    std::snprintf(r.name, sizeof r.name, "Contact %d", i);
    std::strcpy(r.numbers[SLOT_MOBILE].number, mobile.c_str());
    if (i % 3 == 0) std::snprintf(r.numbers[SLOT_HOME].number, 128, "010%08d", i);
    return r;
}

// The store's own share of an add, without the library: fitting, the list
// and its indexes.
double ownWork(const std::vector<std::string>& numbers) {
    SettingRecord text{}, ucs2{};
    BL_GetSetting(&text, STORAGE_PC, KIND_TEXT);
    BL_GetSetting(&ucs2, STORAGE_PC, KIND_UCS2);
    ContactList list;
    QElapsedTimer t;
    t.start();
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        _VELK_CONTACT_RECORD r = makeContact(static_cast<int>(i), numbers[i]);
        pbfit::FitContact(r, text, ucs2);
        r.index = static_cast<std::uint32_t>(i + 1);
        list.Append(r);
    }
    return t.nsecsElapsed() / 1e6;
}

bool run(int contacts, int texts, Figures* out) {
    QTemporaryDir dir;
    if (!dir.isValid() || !paths::UseProgramFolder(dir.path())) return false;
    if (BL_Startup(0, 400, 0) != 0) return false;
    velk_sim::Flush();

    std::mt19937 rng(contacts);
    std::vector<std::string> numbers;
    numbers.reserve(static_cast<std::size_t>(contacts));
    for (int i = 0; i < contacts; ++i) numbers.push_back("13" + std::to_string(100000000 + i * 7919 % 900000000));

    QElapsedTimer t;
    t.start();
    for (int i = 0; i < contacts; ++i) {
        _VELK_CONTACT_RECORD r = makeContact(i, numbers[static_cast<std::size_t>(i)]);
        const _VELK_CONTACT_RECORD* stored = nullptr;
        if (BL_AddContact(&r, &stored) != 0) {
            std::fprintf(stderr, "add %d failed\n", i);
            return false;
        }
    }
    out->addMs = t.nsecsElapsed() / 1e6;
    out->ownMs = ownWork(numbers);

    // Half the senders are known (with a country prefix), half are not.
    std::vector<std::string> senders;
    senders.reserve(static_cast<std::size_t>(texts));
    for (int i = 0; i < texts; ++i) {
        if (i % 2) senders.push_back("+86" + numbers[rng() % numbers.size()]);
        else senders.push_back("+4917" + std::to_string(10000000 + rng() % 89999999));
    }
    t.restart();
    for (const std::string& s : senders) {
        _VELK_CONTACT_RECORD buf{};
        buf.storage = STORAGE_PC;
        out->found += BL_FindContactByNumber(s.c_str(), &buf) == 0;
    }
    out->searchMs = t.nsecsElapsed() / 1e6;
    return BL_Shutdown() == 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 5000;
    qputenv("LINKORA_SHARE", QByteArray(LINKORA_BIN_DIR "/share"));
    velk_sim::SetInstantTiming(true);
    for (int scale : {1, 2}) {
        Figures rounds[3];
        for (Figures& r : rounds)
            if (!run(n * scale, 2 * n * scale, &r)) return 1;
        const auto median = [&](double Figures::*field) {
            double v[3] = {rounds[0].*field, rounds[1].*field, rounds[2].*field};
            std::sort(v, v + 3);
            return v[1];
        };
        Figures f = rounds[0];
        f.addMs = median(&Figures::addMs);
        f.ownMs = median(&Figures::ownMs);
        f.searchMs = median(&Figures::searchMs);
        std::printf("N=%-6d add %d contacts: %8.1f ms (store's own work %6.1f ms)   search %d texts: %7.1f ms (%d found)\n",
                    n * scale, n * scale, f.addMs, f.ownMs, 2 * n * scale, f.searchMs, f.found);
    }
    return 0;
}
