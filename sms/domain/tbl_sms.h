#pragma once

#include <cstdint>

class TBL_base;

class TBL_sms {
public:
    explicit TBL_sms(TBL_base& core);
    ~TBL_sms();
    // A new message stored by the card at (storage, index): fetch, file, join,
    // recount, then post UM_SMS_NEW with a copy. Runs on the interface thread.
    void OnArrival(std::uint8_t storage, std::uint32_t index);

private:
    TBL_base& core_;
};
