#pragma once

// The SIM toolkit object: owned by the business core, made and freed in its order.
// Its operations come with the SIM toolkit windows.

class TBL_base;

class TBL_Stk {
public:
    explicit TBL_Stk(TBL_base& core);
    ~TBL_Stk();

private:
    TBL_base& core_;
};
