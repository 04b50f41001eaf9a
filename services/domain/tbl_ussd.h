#pragma once

class TBL_base;

class TBL_Ussd {
public:
    explicit TBL_Ussd(TBL_base& core);
    ~TBL_Ussd();

private:
    TBL_base& core_;
};
