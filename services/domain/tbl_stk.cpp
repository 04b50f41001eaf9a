#include "services/domain/tbl_stk.h"

TBL_Stk::TBL_Stk(TBL_base& core) : core_(core) {}
TBL_Stk::~TBL_Stk() = default;
