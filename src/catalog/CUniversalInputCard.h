#pragma once
#include "catalog/CCardInterface.h"

// Universal input models: each channel takes voltage, current, thermocouple or
// RTD inputs, chosen by its "rangepc" word. The range decides which rows of
// the channel apply (input classes), the decimals of its base values
// "zbase"/"fbase" and which base values are allowed.
//
// Every channel block has the same fourteen rows; a row's position in its
// block names it. The base decimals are worked out from this card's own
// range and unit words whenever the rows are shown, typed or written, never
// stored in the model's table: two cards of the same model with different
// ranges each keep their own, and a card read from a file is right at once.
class CUniversalInputCard : public CCardInterface {
public:
    CUniversalInputCard(std::int32_t typeCode, const ModelTable& table, int channels);

    std::int32_t GetRowDecimals(int row) const override;
    void CheckBeforeSet(int row, std::int32_t value) const override;
    void AfterSet(int row) override;
    bool IsDisabled(int row) const override;

    // Decimals of the "zbase"/"fbase" rows of the row's channel.
    virtual std::int32_t UpdateBaseDecimals(int row) const;
    // Decimals of a temperature in the channel's unit: whole degrees in °F.
    virtual std::int32_t GetUnitDecimals(int row) const;

private:
    static constexpr int kRowsPerChannel = 14;

    enum Position {
        Heading = 0,
        Range = 2,
        Unit = 3,
        ZeroBase = 4,
        FullBase = 5,
        Bias = 6,
        Gain = 7,
        ZeroScale = 8,
        FullScale = 9,
        WireRtd = 10,
        Burnout = 11,
        ColdJunction = 12,
        Filter = 13
    };

    bool InChannelBlock(int row) const { return row >= 0 && row < m_channels * kRowsPerChannel; }
    std::int16_t RangeWord(int channel) const { return GetWord(1, 0x42 + channel); }
    std::int16_t PositionWord(int channel, int position) const;

    int m_channels;
};

// The models of the family; each chooses its table and number of channels.

// Four-channel universal input module.
class CCardJK7W : public CUniversalInputCard {
public:
    explicit CCardJK7W(std::int32_t typeCode);
};

// Two-channel universal input module.
class CCardJK9W : public CUniversalInputCard {
public:
    explicit CCardJK9W(std::int32_t typeCode);
};
