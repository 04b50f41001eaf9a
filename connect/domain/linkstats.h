// The statistics of a running data connection: byte counters as the dial-up
// service reports them, kilobytes, send and receive rates over a window of
// the last five samples, and the duration.
#pragma once

#include <cstdint>

struct RateSample {
    std::uint32_t sent = 0;
    std::uint32_t received = 0;
    std::uint32_t elapsedMs = 0;
};

class TLinkStats {
public:
    static constexpr int kWindow = 5;

    // Everything zero; the divisor from the refresh interval (1000 ms gives 128:
    // kilobits per second of 1024 bits, as if a sample took one second).
    void Reset(int refreshIntervalMs);
    // Connection start: the tick the duration counts from and the first
    // "previous sample" tick.
    void Start(std::uint32_t nowTick);
    // One sample of the counters at nowTick.
    void Sample(std::uint32_t sent, std::uint32_t received, std::uint32_t nowTick);

    std::uint32_t lastSent = 0, lastReceived = 0;
    std::uint32_t prevSent = 0, prevReceived = 0;
    float kbSent = 0, kbReceived = 0;
    float sendRate = 0, receiveRate = 0;   // kbit/s
    std::uint32_t duration = 0;            // whole seconds
    float divisor = 128;
    RateSample window[kWindow];
    int nextIndex = 0;
    bool windowFull = false;
    std::uint32_t startTick = 0, sampleTick = 0, prevSampleTick = 0, elapsedTick = 0;
    bool started = false;                  // a connection start tick exists
};

#include <QString>
// hours + text 6001 + minutes + text 6002 + seconds + text 6003, each part
// below 10 with one leading "0"; hours keep every digit.
QString LinkDurationText(std::uint32_t seconds);
