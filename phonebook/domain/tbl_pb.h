#pragma once

class TBL_base;

class TBL_pb {
public:
    explicit TBL_pb(TBL_base& core);
    ~TBL_pb();

private:
    TBL_base& core_;
};
