#include "catalog/CTemperatureInputCard.h"

CTemperatureInputCard::CTemperatureInputCard(std::int32_t typeCode, const ModelTable& table,
                                             int rowsPerChannel)
    : CCardInterface(typeCode, table), m_rowsPerChannel(rowsPerChannel) {}

CCardBQ7W::CCardBQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableBQ7W(), 11) {}

CCardZQ7W::CCardZQ7W(std::int32_t typeCode) : CTemperatureInputCard(typeCode, TableZQ7W(), 12) {}

bool CTemperatureInputCard::IsBaseRow(int row) const {
    if (row < 0 || row >= kChannels * m_rowsPerChannel) {
        return false;
    }
    const int position = row % m_rowsPerChannel;
    return position == kZeroBasePosition || position == kFullBasePosition;
}

std::int32_t CTemperatureInputCard::UpdateBaseDecimals(int row) const {
    const int channel = row / m_rowsPerChannel;
    const ParameterDefinition& unit = GetParameter(channel * m_rowsPerChannel + kUnitPosition);
    return GetWord(unit.page, unit.item) == 1 ? 0 : 1;
}

std::int32_t CTemperatureInputCard::GetRowDecimals(int row) const {
    if (IsBaseRow(row)) {
        return UpdateBaseDecimals(row);
    }
    return CCardInterface::GetRowDecimals(row);
}

std::wstring CTemperatureInputCard::GetUnitText(int row) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (definition.page == 1 && definition.item >= 0x2a && definition.item <= 0x31) {
        const int n = (definition.item - 0x2a) / 2;
        switch (GetWord(1, 0x5a + n)) {
        case 0:
            return GetMessage(Msg::unitdegc);
        case 1:
            return GetMessage(Msg::unitdegf);
        case 2:
            return GetMessage(Msg::unitk);
        default:
            return {};
        }
    }
    return CCardInterface::GetUnitText(row);
}

void CTemperatureInputCard::AfterSet(int row) {
    ResetOnRangeChange(row, kChannels, true);
}

bool CTemperatureInputCard::IsDisabled(int row) const {
    if (row >= 0 && row < GetParameterCount()) {
        // Calibration and scaling mean nothing while the channel's base span is empty.
        const ParameterDefinition& definition = GetParameter(row);
        if (definition.page == 1) {
            for (int n = 0; n < kChannels; ++n) {
                const bool channelRow = definition.item == 0x0a + 2 * n || definition.item == 0x0b + 2 * n ||
                                        definition.item == 0x1a + 2 * n || definition.item == 0x1b + 2 * n;
                if (channelRow && GetWord(1, 0x2b + 2 * n) == GetWord(1, 0x2a + 2 * n)) {
                    return true;
                }
            }
        }
    }
    return CCardInterface::IsDisabled(row);
}
