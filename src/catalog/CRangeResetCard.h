#pragma once
#include "catalog/CCardInterface.h"

// Analog models whose input range row (page 1, item 0x42 + n) invalidates the
// channel's calibration: choosing another range puts "bias" back to 0 and
// "gain" back to 1 (10000), so an adjustment made for one range is never
// applied to another.
class CRangeResetCard : public CCardInterface {
public:
    CRangeResetCard(std::int32_t typeCode, const ModelTable& table, int rangeChannels);

    void AfterSet(int row) override;

private:
    int m_rangeChannels;
};
