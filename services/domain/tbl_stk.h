#pragma once

class TBL_base;

class TBL_Stk {
public:
    explicit TBL_Stk(TBL_base& core);
    ~TBL_Stk();

private:
    TBL_base& core_;
};
