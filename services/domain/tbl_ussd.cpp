#include "services/domain/tbl_ussd.h"

TBL_Ussd::TBL_Ussd(TBL_base& core) : core_(core) {}
TBL_Ussd::~TBL_Ussd() = default;
