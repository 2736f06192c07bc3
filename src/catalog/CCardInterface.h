#pragma once
#include "base/CPrivateException.h"
#include "base/CResourceManager.h"
#include "catalog/CCardName.h"
#include "catalog/ParameterDefinition.h"
#include "catalog/StationAttribute.h"
#include "catalog/tables/ModelTables.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class CJX5COMInterface;
class CMonitorUnit;
class CXmlReaderWriter;

// One module of the rack: its model, the value of every parameter and the
// live side the monitor reads. Each model is a subclass that chooses its two
// tables and overrides the virtual steps where its parameters depend on each
// other. Cards are made by the registries (CIOCardType, CCOMCardType) and
// held through std::shared_ptr; a card has no lock of its own, the transfer
// and monitor threads hand cards over rather than share them.
//
// Rows are addressed by their index in the model's parameter table; an index
// outside the table raises std::out_of_range (IsDisabled answers false).
class CCardInterface : protected CResourceManager {
public:
    static constexpr int kPageCount = 10;
    static constexpr int kItemCount = 100;
    static constexpr int kTextSlotCount = 12;
    static constexpr int kMaxChannels = 16;
    static constexpr int kSimulationValueCount = 8;

    CCardInterface(std::int32_t typeCode, std::span<const ParameterDefinition> parameters,
                   std::span<const ChannelDefinition> channels);
    CCardInterface(std::int32_t typeCode, const ModelTable& table);
    CCardInterface(const CCardInterface&) = delete;
    CCardInterface& operator=(const CCardInterface&) = delete;
    ~CCardInterface() override;

    // Takes over everything another card of the same model holds: values,
    // texts, channel rows, live side and simulation. For a thread that must
    // change a card which another thread may still be reading: it works on a
    // fresh card of the same model that has taken over the state.
    void CopyStateFrom(const CCardInterface& other);

    // Identity, set by the registry.
    std::int32_t GetTypeCode() const { return m_typeCode; }
    const std::wstring& GetSectionName() const { return m_sectionName; }
    void SetSectionName(std::wstring name) { m_sectionName = std::move(name); }
    const CCardName& GetCardName() const { return m_cardName; }
    void SetCardName(const CCardName& name) { m_cardName = name; }
    // The station attribute the card was made for, which chose its class:
    // a copy of the card is made for the same.
    StationAttribute GetMadeFor() const { return m_madeFor; }
    void SetMadeFor(StationAttribute attribute) { m_madeFor = attribute; }

    // The model's tables.
    int GetParameterCount() const { return static_cast<int>(m_parameters.size()); }
    const ParameterDefinition& GetParameter(int row) const;
    int GetChannelCount() const { return m_channelCount; }
    const ChannelDefinition& GetChannelRow(int channel) const;
    // The card's own copy: the live-value exchange rewrites decimals and units.
    ChannelDefinition& ChannelRow(int channel);

    // Register image: pages 0 to 9, items 0 to 99, a low and a high word each.
    std::int16_t GetWord(int page, int item) const;
    std::uint32_t GetDword(int page, int item) const;
    void SetWord(int page, int item, std::int32_t value); // keeps the low 16 bits
    void SetDword(int page, int item, std::uint32_t value);

    const std::wstring& GetTextSlot(int slot) const;
    void SetTextSlot(int slot, std::wstring text);

    // The decimals a row is shown, typed and written with. For most rows the
    // table's; models whose base values follow a range or unit work them out
    // from this card's own words.
    virtual std::int32_t GetRowDecimals(int row) const;

    // Texts of a row.
    std::wstring GetCaption(int row) const;
    // Option n of a List row: -2 (data) or the empty text for other rows and
    // for an option the language file does not have.
    std::int32_t GetListData(int row, int n) const;
    std::wstring GetListText(int row, int n) const;
    // For 16-bit kinds pass the sign-extended word.
    std::wstring GetValueText(int row, std::int32_t value) const;
    std::wstring GetStoredValueText(int row) const;
    std::wstring GetDisplayText(int row) const;
    // The stored integer: 16-bit kinds sign-extended, 32-bit kinds combined, else 0.
    std::int32_t GetStoredValue(int row) const;

    // Edits. Failures raise CPrivateException with the finished message and
    // leave the stored value as it was.
    void SetFromText(int row, const std::wstring& text);
    void SetCheckedValue(int row, std::int32_t value);
    // Adds delta and keeps the result within the row's limits; no checks or model steps.
    void StepValue(int row, std::int32_t delta);

    void CheckRange(int row, std::int32_t value, std::int32_t minimum, std::int32_t maximum) const;
    void CheckRangeExcept(int row, std::int32_t value, std::int32_t exceptValue, std::int32_t minimum,
                          std::int32_t maximum) const;
    void CheckRangeUnsigned(int row, std::int64_t value, std::int32_t minimum, std::int32_t maximum) const;
    // The failure of a text that is no value of the row: names the row and
    // its range.
    CPrivateException NotANumber(int row) const;

    // The card's share of a configuration file under the slot's element.
    // A number text that the row cannot hold as it stands ("abc", "70000" in
    // a 16-bit row) is kept beside the value: shown marked, written back
    // unchanged, refused by a download (CheckStoredValue).
    void WriteToXml(CXmlReaderWriter& writer, const std::wstring& slotPath) const;
    // The module information rows (versions, MAC address) are what the module
    // reports; an open keeps the card's own. A comparison or a report of the
    // file takes them from the file too (withModuleInformation), where a file
    // that lacks one leaves the card's.
    void ReadFromXml(const CXmlReaderWriter& reader, const std::wstring& slotPath,
                     bool withModuleInformation = false);

    // The text a configuration file gave the row when it could not be taken
    // as it stands, or null. Any change of the row's value forgets it.
    const std::wstring* GetUnreadFileText(int row) const;

    // Whether a download (not an on-demand write) sends this row's value.
    bool IsWrittenByDownload(int row) const;
    // Puts the row's stored value through the checks a value typed into the
    // parameter list goes through (its kind, range, model checks, list
    // options, what one frame carries), without changing anything. Raises
    // CPrivateException with the card's message.
    void CheckStoredValue(int row) const;
    // Why a download would refuse the text of a text row it writes (too long
    // for one frame, a character outside Latin-1, ...), or empty when it
    // would take it or the row is no such row. Only a file brings such a text.
    std::wstring GetTextRefusal(int row) const;

    // Model steps.
    virtual std::wstring GetUnitText(int row) const;
    virtual void CheckBeforeSet(int row, std::int32_t value) const;
    virtual void AfterSet(int row);
    virtual void PrepareForWrite(int row);
    virtual bool QueryFlag() const;
    virtual bool IsDisabled(int row) const;

    // Transfer to and from the module in the given slot (0: the communication
    // module); link failures pass through unchanged. The parameter rows are
    // read in table order: the order is part of the behaviour, because a range
    // row read resets the rows that follow it until they are read in turn.
    virtual void UploadParameters(std::int32_t slotNumber, CJX5COMInterface& link, bool adjustmentOnly);
    // onDemand writes only the adjustment rows and, of the one-shot rows,
    // only the given row. The writes and reads of a 16-point digital module
    // follow the attribute of the station it is in: where it does not address
    // them, a download leaves the module out and a row write is refused.
    void DownloadParameters(std::int32_t slotNumber, CJX5COMInterface& link, std::int32_t row, bool onDemand,
                            StationAttribute attribute);
    // The requests an upload or a download of the card makes, one station
    // item each: for a progress line that counts them.
    int CountUploadExchanges(bool adjustmentOnly) const;
    int CountDownloadExchanges(std::int32_t slotNumber, StationAttribute attribute) const;
    // Writes the one row, in the same write frame, and nothing else: for a
    // card whose other values were never read from the module.
    void WriteParameter(std::int32_t slotNumber, CJX5COMInterface& link, int row, StationAttribute attribute);
    // The parameter row of the module's simulation switch (the item its
    // switch channel reads), or -1 for a model without one.
    int GetSimulationSwitchRow() const;

    // Live side: reads the channels' values (simulate false) or writes the
    // values the module is to simulate (simulate true).
    void ExchangeLiveValues(std::int32_t slotNumber, CJX5COMInterface& link, bool simulate,
                            StationAttribute attribute);
    // Describes one channel; leaves the record alone for a channel the card
    // does not have or before any live values were read.
    virtual void FillMonitorUnit(std::int32_t channel, CMonitorUnit& unit) const;
    // True while the module reported its simulation switch on.
    bool IsSimulating() const;
    // A simulation value typed for a channel, as the module takes it.
    std::int32_t ParseSimulationValue(std::int32_t channel, const std::wstring& text) const;

    // Monitor accessors of the channel rows.
    virtual std::int32_t GetChannelField(int channel, int k) const;
    virtual std::int32_t GetChannelSignFlag(int channel, int k) const;
    virtual std::int32_t GetLastStatus() const;
    virtual std::wstring GetChannelUnitText(int channel, int k) const;

    // Live side, written by the live-value exchange and the rack.
    bool HasLiveValues() const { return m_liveValuesPresent != 0; }
    void SetLiveValuesPresent() { m_liveValuesPresent = 1; }
    void SetChannelSignFlag(int channel, std::int32_t flag);
    void SetLastStatus(std::int32_t status) { m_lastStatus = status; }
    std::int32_t GetSimulationMode() const { return m_simulationMode; }
    void SetSimulationMode(std::int32_t mode) { m_simulationMode = mode; }
    std::int32_t GetSimulationValue(int index) const;
    void SetSimulationValue(int index, std::int32_t value);
    bool IsAdjustmentRead() const { return m_adjustmentRead != 0; }
    void SetAdjustmentRead() { m_adjustmentRead = 1; }

protected:
    // The unit text of a unit code, empty for none.
    std::wstring UnitText(std::int32_t unitCode) const;
    // When row is the range of channel n (page 1, item 0x42 + n, n below
    // channels): the channel's bias to 0 and gain to 10000, and with its base
    // span, zero and full base to 0. Any other row changes nothing.
    void ResetOnRangeChange(int row, int channels, bool withBase);

private:
    // Index of the low word of (page, item) within its page; the high word
    // lies kItemCount further on. Raises for a location outside the image.
    static std::size_t WordIndex(int page, int item);
    void StoreValue(const ParameterDefinition& definition, std::int32_t value);
    void SetTextRow(const ParameterDefinition& definition, const std::wstring& text);
    // A text typed into a number row (or a stored value as the list shows
    // it), parsed and put through the row's checks: one rule for an edit and
    // for a download's check of what it will write. Raises as an edit does.
    std::int64_t ParseCheckedNumber(int row, const std::wstring& text) const;
    // The checks of a typed text row (login names, date and time, what one frame carries).
    void CheckTextRow(const ParameterDefinition& definition, const std::wstring& text) const;
    // The option list of a List row as the parameter list offers it.
    void CheckListOption(int row, std::int32_t value) const;
    // A file's number text as the row's value: only a whole number that the
    // row's one or two words hold exactly.
    static std::optional<std::int32_t> FileNumberForRow(const ParameterDefinition& definition,
                                                        std::wstring_view text);
    void ApplyDefaults();
    void ExchangeThroughCommunicationModule(std::int32_t slotNumber, CJX5COMInterface& link);
    void ReadChannels(std::int32_t slotNumber, CJX5COMInterface& link);
    void WriteSimulation(std::int32_t slotNumber, CJX5COMInterface& link);
    // The write of one row's value, without the write frame around it.
    void WriteRow(std::int32_t slotNumber, CJX5COMInterface& link, int row);
    bool LeavesPageOneAlone(std::int32_t slotNumber) const;
    // Which rows the transfers take, and how many requests a row's write makes.
    bool IsUploadedRow(int row, bool adjustmentOnly) const;
    bool IsLeftOutOfDownload(std::int32_t slotNumber, StationAttribute attribute) const;
    bool IsDownloadedRow(int i, bool onDemand, std::int32_t row) const;
    int CountRowWrites(std::int32_t slotNumber, int i) const;

    std::array<std::array<std::uint16_t, static_cast<std::size_t>(2 * kItemCount)>, kPageCount> m_registers{};
    std::array<std::wstring, kTextSlotCount> m_textSlots;
    std::int32_t m_typeCode;
    std::span<const ParameterDefinition> m_parameters;
    std::array<ChannelDefinition, kMaxChannels> m_channels{};
    std::int32_t m_channelCount;
    std::uint8_t m_liveValuesPresent = 0;
    std::array<std::int32_t, kMaxChannels> m_channelSignFlags{};
    std::wstring m_sectionName;
    CCardName m_cardName;
    StationAttribute m_madeFor;
    std::int32_t m_simulationMode = 0;
    std::array<std::int32_t, kSimulationValueCount> m_simulationValues{};
    std::uint8_t m_adjustmentRead = 0;
    std::int32_t m_lastStatus = 0;
    // File texts not taken as they stand, by item code (page * 256 + item).
    std::map<int, std::wstring> m_unreadFileTexts;
};
