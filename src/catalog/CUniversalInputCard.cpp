#include "catalog/CUniversalInputCard.h"

CUniversalInputCard::CUniversalInputCard(std::int32_t typeCode, const ModelTable& table, int channels)
    : CCardInterface(typeCode, table), m_channels(channels) {}

CCardJK7W::CCardJK7W(std::int32_t typeCode) : CUniversalInputCard(typeCode, TableJK7W(), 4) {}
CCardJK9W::CCardJK9W(std::int32_t typeCode) : CUniversalInputCard(typeCode, TableJK9W(), 2) {}

std::int16_t CUniversalInputCard::PositionWord(int channel, int position) const {
    const ParameterDefinition& definition = GetParameter(channel * kRowsPerChannel + position);
    return GetWord(definition.page, definition.item);
}

std::int32_t CUniversalInputCard::GetUnitDecimals(int row) const {
    return PositionWord(row / kRowsPerChannel, Unit) == 1 ? 0 : 1;
}

std::int32_t CUniversalInputCard::UpdateBaseDecimals(int row) const {
    const unsigned range = static_cast<std::uint16_t>(RangeWord(row / kRowsPerChannel));
    if (range == 0 || range == 2) {
        return 3;
    }
    if (range == 1) {
        return 1;
    }
    if (range <= 8) {
        return 2;
    }
    if (range == 9) {
        return 0;
    }
    if (range <= 36) {
        return GetUnitDecimals(row);
    }
    return 1;
}

std::int32_t CUniversalInputCard::GetRowDecimals(int row) const {
    if (InChannelBlock(row)) {
        const int position = row % kRowsPerChannel;
        if (position == ZeroBase || position == FullBase) {
            return UpdateBaseDecimals(row);
        }
    }
    return CCardInterface::GetRowDecimals(row);
}

void CUniversalInputCard::CheckBeforeSet(int row, std::int32_t value) const {
    if (!InChannelBlock(row)) {
        return;
    }
    const ParameterDefinition& definition = GetParameter(row);
    const int position = row % kRowsPerChannel;
    if ((position == ZeroBase || position == FullBase) &&
        static_cast<std::uint16_t>(RangeWord(row / kRowsPerChannel)) == 9) {
        CheckRange(row, value, 0, definition.maximum);
    } else if (position == Filter) {
        // The filter is either off (0) or at least half a second.
        CheckRangeExcept(row, value, 0, 5, definition.maximum);
    }
}

void CUniversalInputCard::AfterSet(int row) {
    ResetOnRangeChange(row, m_channels, true);
}

bool CUniversalInputCard::IsDisabled(int row) const {
    if (!InChannelBlock(row)) {
        return CCardInterface::IsDisabled(row);
    }
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.page == 1 && definition.item >= 0x42 && definition.item <= 0x45) {
        // The range must stay choosable, whatever it holds now.
        return false;
    }
    const int channel = row / kRowsPerChannel;
    const int position = row % kRowsPerChannel;
    const int range = RangeWord(channel);
    const bool emptySpan = PositionWord(channel, ZeroBase) == PositionWord(channel, FullBase);
    const bool calibrationRow = position >= Bias && position <= FullScale;
    bool disabled = false;
    if (range < 3) { // voltage and current
        disabled = position == Unit || position == WireRtd || position == Burnout || position == ColdJunction;
    } else if (range <= 8) {
        disabled = position == Unit || position == WireRtd || position == ColdJunction;
    } else if (range == 9) {
        disabled = position == Unit || position == ColdJunction;
    } else if (range <= 23) { // thermocouples: cold-junction compensation, no RTD wiring
        disabled = position == WireRtd || (calibrationRow && emptySpan);
    } else if (range <= 36) { // RTDs: their wiring, no cold junction
        disabled = position == ColdJunction || (calibrationRow && emptySpan);
    } else {
        disabled = true;
    }
    return disabled || CCardInterface::IsDisabled(row);
}
