#include "connect/domain/linkstats.h"

void TLinkStats::Reset(int refreshIntervalMs) {
    *this = TLinkStats{};
    divisor = static_cast<float>(refreshIntervalMs / 1000) * 128.0f;
    if (divisor <= 0) divisor = 128.0f;
}

void TLinkStats::Start(std::uint32_t nowTick) {
    startTick = prevSampleTick = nowTick;
    started = true;
}

void TLinkStats::Sample(std::uint32_t sent, std::uint32_t received, std::uint32_t nowTick) {
    sampleTick = nowTick;
    elapsedTick = nowTick - prevSampleTick;
    prevSampleTick = nowTick;
    prevSent = lastSent;
    prevReceived = lastReceived;
    lastSent = sent;
    lastReceived = received;
    kbSent = static_cast<float>(lastSent) / 1024.0f;
    kbReceived = static_cast<float>(lastReceived) / 1024.0f;

    if (nextIndex >= kWindow) {
        nextIndex = 0;
        windowFull = true;
    }
    // A counter that went down (cleared, wrapped) contributes nothing.
    const std::uint32_t dSent = lastSent >= prevSent ? lastSent - prevSent : 0;
    const std::uint32_t dReceived = lastReceived >= prevReceived ? lastReceived - prevReceived : 0;
    window[nextIndex++] = RateSample{dSent, dReceived, elapsedTick};

    if (!windowFull) {
        sendRate = static_cast<float>(dSent) / divisor;
        receiveRate = static_cast<float>(dReceived) / divisor;
    } else {
        std::uint64_t sumSent = 0, sumReceived = 0, sumMs = 0;
        for (const auto& s : window) {
            sumSent += s.sent;
            sumReceived += s.received;
            sumMs += s.elapsedMs;
        }
        // A burst of timer ticks can leave less than a whole second in the
        // window; count it as one second rather than divide by zero.
        std::uint64_t seconds = sumMs / 1000;
        if (seconds == 0) seconds = 1;
        sendRate = static_cast<float>(sumSent) / (static_cast<float>(seconds) * divisor);
        receiveRate = static_cast<float>(sumReceived) / (static_cast<float>(seconds) * divisor);
    }
    duration = (nowTick - startTick) / 1000;
}

#include "core/strings.h"

QString LinkDurationText(std::uint32_t seconds) {
    auto part = [](std::uint32_t v) { return (v < 10 ? QStringLiteral("0") : QString()) + QString::number(v); };
    return part(seconds / 3600) + GetString(6001) + part((seconds % 3600) / 60) + GetString(6002) +
           part(seconds % 60) + GetString(6003);
}
