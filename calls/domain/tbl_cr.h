#pragma once

class TBL_base;

class TBL_Cr {
public:
    explicit TBL_Cr(TBL_base& core);
    ~TBL_Cr();

private:
    TBL_base& core_;
};
