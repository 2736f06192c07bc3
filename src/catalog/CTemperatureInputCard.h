#pragma once
#include "catalog/CCardInterface.h"

// Temperature input models (four channels). Each channel's "unit" word
// (page 1, item 0x5a + n: 0 °C, 1 °F, 2 K) decides the unit of its base
// values "zbase"/"fbase" and their decimals: whole degrees in °F, tenths
// otherwise.
//
// The decimals are worked out from this card's own unit word every time a
// base value is shown, typed or written, never stored in the model's table:
// two cards of the same model with different units each keep their own, and
// a card read from a file is right at once.
class CTemperatureInputCard : public CCardInterface {
public:
    CTemperatureInputCard(std::int32_t typeCode, const ModelTable& table, int rowsPerChannel);

    std::int32_t GetRowDecimals(int row) const override;
    std::wstring GetUnitText(int row) const override;
    void AfterSet(int row) override;
    bool IsDisabled(int row) const override;

    // Decimals of the "zbase"/"fbase" rows of the row's channel.
    virtual std::int32_t UpdateBaseDecimals(int row) const;

private:
    static constexpr int kChannels = 4;
    static constexpr int kUnitPosition = 3;
    static constexpr int kZeroBasePosition = 4;
    static constexpr int kFullBasePosition = 5;

    bool IsBaseRow(int row) const;

    int m_rowsPerChannel;
};

// The models of the family; each chooses its table and the rows per channel.

// Four-channel RTD input module.
class CCardBQ7W : public CTemperatureInputCard {
public:
    explicit CCardBQ7W(std::int32_t typeCode);
};

// Four-channel thermocouple input module.
class CCardZQ7W : public CTemperatureInputCard {
public:
    explicit CCardZQ7W(std::int32_t typeCode);
};
