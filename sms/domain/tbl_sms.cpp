#include "sms/domain/tbl_sms.h"

TBL_sms::TBL_sms(TBL_base& core) : core_(core) {}
TBL_sms::~TBL_sms() = default;

void TBL_sms::OnArrival(std::uint8_t, std::uint32_t) {}
