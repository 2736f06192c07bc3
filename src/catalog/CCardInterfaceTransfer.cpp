#include "catalog/CCardInterface.h"

#include "base/CMessageFormatter.h"
#include "catalog/ModelRegistry.h"
#include "catalog/ValueText.h"
#include "link/CGICommandParser.h"
#include "link/CJX5COMInterface.h"
#include "link/Protocol.h"

#include <chrono>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace {

// The text slot of the module's date and time: kept exactly as the module
// reports it, its clock text is not ours to check.
constexpr std::int32_t kDateTimeSlot = 10;
// Only the login names, passwords, date and time and server address are
// settings; the other text slots hold what the module reports about itself.
constexpr std::int32_t kFirstWrittenTextSlot = 6;
constexpr std::int32_t kLastWrittenTextSlot = 11;

// A module needs this long to take a one-shot command before the write frame closes.
constexpr std::chrono::milliseconds kOnDemandMinimum{500};
constexpr std::chrono::milliseconds kOnDemandPollStep{10};

bool IsIoSlot(std::int32_t slotNumber) {
    return slotNumber >= 1 && slotNumber <= 16;
}

bool HasFlag(const ParameterDefinition& definition, std::int32_t flag) {
    return (definition.flags & flag) != 0;
}

bool IsTransferredKind(std::int32_t kind) {
    return kind >= KindText && kind <= KindDecimal16Raw;
}

bool IsReadKind(std::int32_t kind) {
    return (kind >= KindText && kind <= KindIpAddress) || kind == KindDecimal16Raw;
}

} // namespace

bool CCardInterface::LeavesPageOneAlone(std::int32_t slotNumber) const {
    // The network gateway models have no write frame on page 1.
    return !ModelInSlot(slotNumber, m_typeCode).traits.pageOneWriteFrame;
}

bool CCardInterface::IsUploadedRow(int row, bool adjustmentOnly) const {
    const ParameterDefinition& definition = GetParameter(row);
    if (adjustmentOnly && !HasFlag(definition, FlagAdjustment | FlagAdjustContext | FlagOnDemand)) {
        return false;
    }
    return IsReadKind(definition.kind);
}

bool CCardInterface::IsLeftOutOfDownload(std::int32_t slotNumber, StationAttribute attribute) const {
    // Without the station attribute the 16-point digital modules cannot be
    // addressed directly; they have nothing to set anyway.
    return IsIoSlot(slotNumber) && ModelInSlot(slotNumber, m_typeCode).traits.digital16 != Digital16::None &&
           !attribute.AddressesDigital16();
}

bool CCardInterface::IsDownloadedRow(int i, bool onDemand, std::int32_t row) const {
    const ParameterDefinition& definition = GetParameter(i);
    const bool adjustment = HasFlag(definition, FlagAdjustment);
    const bool oneShot = HasFlag(definition, FlagOnDemand);
    if (onDemand ? (!adjustment && !oneShot) : oneShot) {
        return false;
    }
    if (IsDisabled(i) || (onDemand && oneShot && i != row)) {
        return false;
    }
    return !HasFlag(definition, FlagReadOnly) && definition.item != 0 && IsTransferredKind(definition.kind);
}

int CCardInterface::CountRowWrites(std::int32_t slotNumber, int i) const {
    const ParameterDefinition& definition = GetParameter(i);
    switch (definition.kind) {
    case KindText:
        return definition.textSlot >= kFirstWrittenTextSlot && definition.textSlot <= kLastWrittenTextSlot ? 1
                                                                                                            : 0;
    case KindUnsigned32: {
        const wchar_t* readThenWrite = ModelInSlot(slotNumber, m_typeCode).traits.readThenWriteKey;
        return readThenWrite != nullptr && std::wstring_view(definition.textKey).starts_with(readThenWrite) ? 2
                                                                                                              : 1;
    }
    case KindList:
    case KindSigned32:
    case KindDecimal16:
    case KindDecimal16Raw:
    case KindInteger16:
    case KindIpAddress:
        return 1;
    default:
        return 0;
    }
}

int CCardInterface::CountUploadExchanges(bool adjustmentOnly) const {
    int count = 0;
    for (int row = 0; row < GetParameterCount(); ++row) {
        count += IsUploadedRow(row, adjustmentOnly) ? 1 : 0;
    }
    return count;
}

int CCardInterface::CountDownloadExchanges(std::int32_t slotNumber, StationAttribute attribute) const {
    if (IsLeftOutOfDownload(slotNumber, attribute)) {
        return 0;
    }
    // The write frame opens and closes on page 0, and on page 1 where the model has it.
    int count = LeavesPageOneAlone(slotNumber) ? 2 : 4;
    for (int i = 0; i < GetParameterCount(); ++i) {
        if (IsDownloadedRow(i, false, 0)) {
            count += CountRowWrites(slotNumber, i);
        }
    }
    return count;
}

void CCardInterface::UploadParameters(std::int32_t slotNumber, CJX5COMInterface& link, bool adjustmentOnly) {
    const auto address = static_cast<std::uint32_t>(slotNumber);
    for (int row = 0; row < GetParameterCount(); ++row) {
        if (!IsUploadedRow(row, adjustmentOnly)) {
            continue;
        }
        const ParameterDefinition& definition = GetParameter(row);
        const auto page = static_cast<std::uint32_t>(definition.page);
        const auto item = static_cast<std::uint32_t>(definition.item);
        const CGICommandParser reply(link.ReadItem(address, page, item));
        switch (definition.kind) {
        case KindText:
            if (definition.textSlot == kDateTimeSlot) {
                SetTextSlot(kDateTimeSlot, reply.GetValue());
            } else {
                SetFromText(row, reply.GetValue());
            }
            break;
        case KindList: {
            // Through the checks and the model step: a range row resets its
            // channel's scaling, which the rows read after it then restore.
            const auto value = static_cast<std::int32_t>(reply.GetDecValue());
            SetCheckedValue(row, value);
            break;
        }
        case KindSigned32:
        case KindUnsigned32:
            SetDword(definition.page, definition.item,
                     definition.radix != 10 ? reply.GetHexValue() : reply.GetDecValue());
            break;
        case KindDecimal16:
            SetWord(definition.page, definition.item, reply.GetScaledValue(GetRowDecimals(row)));
            break;
        case KindInteger16:
            SetWord(definition.page, definition.item, static_cast<std::int32_t>(reply.GetDecValue()));
            break;
        case KindIpAddress:
            SetFromText(row, reply.GetValue());
            break;
        case KindDecimal16Raw:
            SetWord(definition.page, definition.item, reply.GetScaledValue(0));
            break;
        default:
            break;
        }
    }
    if (adjustmentOnly) {
        SetAdjustmentRead();
    }
}

void CCardInterface::DownloadParameters(std::int32_t slotNumber, CJX5COMInterface& link, std::int32_t row,
                                        bool onDemand, StationAttribute attribute) {
    const auto started = std::chrono::steady_clock::now();
    if (IsLeftOutOfDownload(slotNumber, attribute)) {
        return;
    }
    const auto address = static_cast<std::uint32_t>(slotNumber);
    link.WriteItem(address, 0, kWriteFrameItem, L"1");
    if (!LeavesPageOneAlone(slotNumber)) {
        link.WriteItem(address, 1, kWriteFrameItem, L"1");
    }

    for (int i = 0; i < GetParameterCount(); ++i) {
        if (IsDownloadedRow(i, onDemand, row)) {
            WriteRow(slotNumber, link, i);
        }
    }

    if (onDemand) {
        while (std::chrono::steady_clock::now() - started < kOnDemandMinimum) {
            std::this_thread::sleep_for(kOnDemandPollStep);
        }
    }
    link.WriteItem(address, 0, kWriteFrameItem, L"0");
    if (!LeavesPageOneAlone(slotNumber)) {
        link.WriteItem(address, 1, kWriteFrameItem, L"0");
    }
}

void CCardInterface::WriteRow(std::int32_t slotNumber, CJX5COMInterface& link, int i) {
    const ParameterDefinition& definition = GetParameter(i);
    const auto address = static_cast<std::uint32_t>(slotNumber);
    const auto page = static_cast<std::uint32_t>(definition.page);
    const auto item = static_cast<std::uint32_t>(definition.item);
    switch (definition.kind) {
    case KindText:
        if (definition.textSlot >= kFirstWrittenTextSlot && definition.textSlot <= kLastWrittenTextSlot) {
            link.WriteItem(address, page, item, GetTextSlot(definition.textSlot));
        }
        break;
    case KindList:
        link.WriteItem(address, page, item,
                       CMessageFormatter::Printf(
                           L"%d", static_cast<int>(GetWord(definition.page, definition.item))));
        break;
    case KindSigned32:
        link.WriteItem(address, page, item,
                       FormatNumber(static_cast<std::int32_t>(GetDword(definition.page, definition.item)),
                                    definition.isSigned, GetRowDecimals(i), definition.radix,
                                    KindSigned32));
        break;
    case KindUnsigned32: {
        const std::wstring text =
            FormatNumber(static_cast<std::int32_t>(GetDword(definition.page, definition.item)),
                         definition.isSigned, GetRowDecimals(i), definition.radix, KindUnsigned32);
        // The counter's span goes through the link's read-then-write, whose
        // failure tells the user that the counter value was not written.
        if (CountRowWrites(slotNumber, i) == 2) {
            link.ReadThenWriteItem(address, page, item, text);
        } else {
            link.WriteItem(address, page, item, text);
        }
        break;
    }
    case KindDecimal16:
    case KindDecimal16Raw:
        PrepareForWrite(i);
        link.WriteItem(address, page, item,
                       FormatNumber(GetWord(definition.page, definition.item), definition.isSigned,
                                    GetRowDecimals(i), definition.radix, KindDecimal16));
        break;
    case KindInteger16:
        link.WriteItem(address, page, item,
                       FormatNumber(GetWord(definition.page, definition.item), definition.isSigned, 0,
                                    definition.radix, KindDecimal16));
        break;
    case KindIpAddress:
        link.WriteItem(address, page, item, FormatIpAddress(GetDword(definition.page, definition.item)));
        break;
    default:
        // Raw words and switch sets have no text form the module takes.
        break;
    }
}

void CCardInterface::WriteParameter(std::int32_t slotNumber, CJX5COMInterface& link, int row,
                                    StationAttribute attribute) {
    const ParameterDefinition& definition = GetParameter(row);
    if (IsLeftOutOfDownload(slotNumber, attribute)) {
        throw std::invalid_argument("a 16-point digital module cannot be written without the station attribute");
    }
    if (HasFlag(definition, FlagReadOnly) || definition.item == 0 || !IsTransferredKind(definition.kind)) {
        return;
    }
    // The same write frame as every other write, around this one row only:
    // the module's other rows keep what it holds.
    const auto address = static_cast<std::uint32_t>(slotNumber);
    link.WriteItem(address, 0, kWriteFrameItem, L"1");
    if (!LeavesPageOneAlone(slotNumber)) {
        link.WriteItem(address, 1, kWriteFrameItem, L"1");
    }
    WriteRow(slotNumber, link, row);
    link.WriteItem(address, 0, kWriteFrameItem, L"0");
    if (!LeavesPageOneAlone(slotNumber)) {
        link.WriteItem(address, 1, kWriteFrameItem, L"0");
    }
}

int CCardInterface::GetSimulationSwitchRow() const {
    for (int channel = 0; channel < m_channelCount; ++channel) {
        const ChannelDefinition& switchChannel = m_channels[static_cast<std::size_t>(channel)];
        if (switchChannel.channelKind != ChannelSwitch) {
            continue;
        }
        // The switch the monitor reads is one of the module's own parameters.
        for (int row = 0; row < GetParameterCount(); ++row) {
            const ParameterDefinition& definition = GetParameter(row);
            if (definition.kind == KindList && definition.page == switchChannel.valuePage &&
                definition.item == switchChannel.valueItem) {
                return row;
            }
        }
    }
    return -1;
}
