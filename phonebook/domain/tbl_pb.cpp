#include "phonebook/domain/tbl_pb.h"

TBL_pb::TBL_pb(TBL_base& core) : core_(core) {}
TBL_pb::~TBL_pb() = default;
