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

// The models of the family; each chooses its table and the number of channels
// that have a range row.

// Four-channel analog input module with a dropout setting.
class CCardKB7HW : public CRangeResetCard {
public:
    explicit CCardKB7HW(std::int32_t typeCode);
};

// Two-channel analog input module.
class CCardKZ9W : public CRangeResetCard {
public:
    explicit CCardKZ9W(std::int32_t typeCode);
};

// Four-channel analog input module.
class CCardKZ7W : public CRangeResetCard {
public:
    explicit CCardKZ7W(std::int32_t typeCode);
};

// Four-channel averaging analog input module.
class CCardJZB7W : public CRangeResetCard {
public:
    explicit CCardJZB7W(std::int32_t typeCode);
};

// Four-channel analog output module with output ranges.
class CCardQZ7W : public CRangeResetCard {
public:
    explicit CCardQZ7W(std::int32_t typeCode);
};
