#include "calls/domain/tbl_cr.h"

TBL_Cr::TBL_Cr(TBL_base& core) : core_(core) {}
TBL_Cr::~TBL_Cr() = default;
