#pragma once

// The USSD object: owned by the business core, made and freed in its order.
// Its operations come with the USSD windows.

class TBL_base;

class TBL_Ussd {
public:
    explicit TBL_Ussd(TBL_base& core);
    ~TBL_Ussd();

private:
    TBL_base& core_;
};
