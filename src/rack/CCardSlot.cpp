#include "rack/CCardSlot.h"

#include "base/CPrivateException.h"
#include "base/CXmlReaderWriter.h"
#include "catalog/CCOMCardType.h"
#include "catalog/CIOCardType.h"
#include "catalog/ModelRegistry.h"
#include "link/CGICommandParser.h"
#include "link/CJX5COMInterface.h"
#include "link/Protocol.h"
#include "rack/CProgressCounter.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace {

// Index and number are equal today, but every operation goes through the
// table so that the two are never confused.
constexpr std::array<std::int32_t, CCardSlot::kSlotCount> kSlotNumbers = {0, 1,  2,  3,  4,  5,  6,  7, 8,
                                                                          9, 10, 11, 12, 13, 14, 15, 16};

// The model name of I/O slot n is item kIoModelItemBase + n of the communication module.
constexpr std::uint32_t kIoModelItemBase = kStationFirstSlotItem - 1;

// The messages that carry an inner text keep it to this many characters.
constexpr std::size_t kInnerMessageBuffer = 1025;

// The file format's own version, not the program's: files say which format
// they were written in.
constexpr const wchar_t* kFileApplication = L"K52CFG";
constexpr const wchar_t* kFileType = L"configuration";
constexpr const wchar_t* kFileVersion = L"1.17.75";

int ItemCodeOf(const ParameterDefinition& definition) {
    return definition.page * 256 + definition.item;
}

// The attribute word the communication module's card has just read; a
// model without that row leaves the attribute as it was.
StationAttribute AttributeReadBy(const CCardInterface& card, StationAttribute before) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const ParameterDefinition& definition = card.GetParameter(row);
        if (definition.kind == KindList && definition.page == 0 && definition.item == kStationAttributeItem) {
            return StationAttribute(static_cast<std::uint16_t>(card.GetWord(0, kStationAttributeItem)));
        }
    }
    return before;
}

std::wstring SlotPath(std::int32_t slotNumber) {
    return CMessageFormatter::Printf(L"/root/slot[@no='%d']", slotNumber);
}

// The station's answers counted as items of the module in hand, while a
// transfer runs.
class ItemCounting {
public:
    ItemCounting(CJX5COMInterface& link, CProgressCounter& progress) : m_link(link) {
        link.SetExchangeObserver([&progress] { progress.AdvanceItem(); });
    }
    ~ItemCounting() { m_link.SetExchangeObserver({}); }
    ItemCounting(const ItemCounting&) = delete;
    ItemCounting& operator=(const ItemCounting&) = delete;

private:
    CJX5COMInterface& m_link;
};

int CountModules(std::uint32_t activeMap) {
    return std::popcount(activeMap & 0xFFFFU);
}

// A cancelled link fails every exchange that follows. That failure is the
// user's cancellation and travels on as one, so that no caller shows it as a
// failed transfer. Any other failure keeps its kind inside the wrapping text.
[[noreturn]] void RaiseWrapped(const CJX5COMInterface& link, MessageKey<MessageStyle::Printf, Msg::Text> key,
                               const std::exception& error) {
    if (link.IsCancelled()) {
        throw CPrivateException::Cancellation();
    }
    throw CPrivateException(GetFailureKind(error), CResourceManager::FormatMessage(
                                                       key, GetExceptionMessage(error, kInnerMessageBuffer)));
}

// A refused value as the user finds it: the file's own text when it was not
// a number, the number of a list value outside the options, otherwise the
// value as the parameter list shows it.
std::wstring ValueForMessage(const CCardInterface& card, int row) {
    if (IsPasswordRow(card.GetParameter(row))) {
        return kPasswordMask;
    }
    if (const std::wstring* unread = card.GetUnreadFileText(row)) {
        return *unread;
    }
    if (card.GetParameter(row).kind == KindList) {
        return CMessageFormatter::Printf(L"%d", card.GetStoredValue(row));
    }
    return card.GetStoredValueText(row);
}

} // namespace

std::int32_t CCardSlot::GetSlotNumber(int slotIndex) {
    CheckIndex(slotIndex);
    return kSlotNumbers[static_cast<std::size_t>(slotIndex)];
}

void CCardSlot::CheckIndex(int slotIndex) {
    if (slotIndex < 0 || slotIndex >= kSlotCount) {
        throw std::out_of_range("slot index out of range");
    }
}

CCardSlot::CCardSlot() = default;
CCardSlot::CCardSlot(const CCardSlot& other) = default;
CCardSlot& CCardSlot::operator=(const CCardSlot& other) = default;
CCardSlot::~CCardSlot() = default;

void CCardSlot::Clear() {
    CIOCardType ioTypes;
    CCOMCardType comTypes;
    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        m_slots[number] = IsIoSlotNumber(number) ? CardHandle(ioTypes.CreateByCode(0))
                                                 : CardHandle(comTypes.CreateByCode(0));
    }
    m_simulationPending = 0;
    m_loadWarnings.clear();
}

CCardSlot::CardHandle CCardSlot::CopyCard(const CCardInterface& card, std::int32_t slotNumber) {
    CardHandle copy = IsIoSlotNumber(slotNumber)
                          ? CardHandle(CIOCardType(card.GetMadeFor()).CreateByCode(card.GetTypeCode()))
                          : CardHandle(CCOMCardType().CreateByCode(card.GetTypeCode()));
    copy->CopyStateFrom(card);
    return copy;
}

CCardSlot CCardSlot::CopyWithOwnCards() const {
    CCardSlot copy(*this);
    for (auto& [number, card] : copy.m_slots) {
        if (card != nullptr) {
            card = CopyCard(*card, number);
        }
    }
    return copy;
}

CCardSlot::CardHandle CCardSlot::GetCard(int slotIndex) const {
    const auto found = m_slots.find(GetSlotNumber(slotIndex));
    return found != m_slots.end() ? found->second : nullptr;
}

void CCardSlot::SetCard(int slotIndex, CardHandle card) {
    m_slots[GetSlotNumber(slotIndex)] = std::move(card);
}

bool CCardSlot::IsDigital16Card(int slotIndex) const {
    const CardHandle card = GetCard(slotIndex);
    return card != nullptr &&
           ModelInSlot(GetSlotNumber(slotIndex), card->GetTypeCode()).traits.digital16 != Digital16::None;
}

void CCardSlot::CopySlots(const CCardSlot& source, std::uint64_t mask) {
    for (int index = 0; index < kSlotCount; ++index) {
        if (!IsChosen(mask, index)) {
            continue;
        }
        // A slot the source never read (the COM slot of an upload without
        // it) must not wipe out the card this rack holds there.
        if (CardHandle card = source.GetCard(index)) {
            SetCard(index, std::move(card));
            if (!IsIoSlotNumber(GetSlotNumber(index))) {
                m_attribute = source.m_attribute;
            }
        }
    }
}

std::wstring CCardSlot::GetSlotCaption(int slotIndex) const {
    const std::int32_t number = GetSlotNumber(slotIndex);
    if (IsIoSlotNumber(number)) {
        return FormatMessage(Msg::iocap, CMessageFormatter::Printf(L"%02d", number));
    }
    return GetMessage(Msg::comcap);
}

void CCardSlot::RequestSimulation(int slotIndex, std::int32_t mode, std::span<const std::int32_t> values) {
    CheckIndex(slotIndex);
    m_simulationSlot = slotIndex;
    m_simulationMode = mode;
    m_simulationValues.fill(0);
    for (std::size_t i = 0; i < values.size() && i < m_simulationValues.size(); ++i) {
        m_simulationValues[i] = values[i];
    }
    m_simulationPending = 1;
}

// ---------------------------------------------------------------------------
// Configuration file

void CCardSlot::SaveToFile(const std::filesystem::path& path) const {
    CXmlReaderWriter writer;
    writer.Create(L"root");
    writer.AppendTextElement(L"/root", L"application", kFileApplication);
    writer.AppendTextElement(L"/root", L"filetype", kFileType);
    writer.AppendTextElement(L"/root", L"version", kFileVersion);
    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        writer.AppendTextElementWithAttribute(L"/root", L"slot", L"", L"no",
                                              CMessageFormatter::Printf(L"%d", number));
        CardHandle card = GetCard(index);
        if (!card) {
            // A slot without a card would make a file that cannot be opened
            // again; the unknown model says honestly that nothing is known
            // and never passes a download check.
            card = IsIoSlotNumber(number) ? CardHandle(CIOCardType().CreateByCode(-1))
                                          : CardHandle(CCOMCardType().CreateByCode(-1));
        }
        card->WriteToXml(writer, SlotPath(number));
    }
    writer.Save(path);
}

bool CCardSlot::IsSavedWithoutValues(const CXmlReaderWriter& reader, const std::wstring& slotPath,
                                     std::int32_t slotNumber, const CCardInterface& card) {
    if (!IsIoSlotNumber(slotNumber) ||
        ModelInSlot(slotNumber, card.GetTypeCode()).traits.digital16 == Digital16::None) {
        return false;
    }
    try {
        reader.GetText(slotPath + L"/parameter");
    } catch (const std::exception&) {
        return true; // not one value in the slot
    }
    return false;
}

void CCardSlot::LoadFromFile(const std::filesystem::path& path) {
    CXmlReaderWriter reader;
    reader.Load(path);
    LoadDocument(reader, false);
}

void CCardSlot::LoadForComparison(const std::filesystem::path& path) {
    CXmlReaderWriter reader;
    reader.Load(path);
    LoadDocument(reader, true);
}

void CCardSlot::LoadDocument(const CXmlReaderWriter& reader, bool withModuleInformation) {
    const CIOCardType ioTypes(m_attribute);
    CCOMCardType comTypes;

    try {
        if (reader.GetText(L"/root/application") != kFileApplication ||
            reader.GetText(L"/root/filetype") != kFileType) {
            throw CPrivateException(FailureKind::File, std::wstring());
        }
        // Read but not compared: a file of another format version is taken as it is.
        reader.GetText(L"/root/version");
    } catch (const std::exception&) {
        throw CPrivateException(FailureKind::File, GetMessage(Msg::illfileerr));
    }

    SlotMap slots;
    try {
        for (int index = 0; index < kSlotCount; ++index) {
            const std::int32_t number = GetSlotNumber(index);
            const std::wstring slotPath = SlotPath(number);
            const std::wstring model = reader.GetText(slotPath + L"/type");
            CardHandle card = IsIoSlotNumber(number) ? CardHandle(ioTypes.CreateByName(model))
                                                     : comTypes.CreateByName(model);
            try {
                card->ReadFromXml(reader, slotPath, withModuleInformation);
            } catch (const std::exception&) {
                if (!IsSavedWithoutValues(reader, slotPath, number, *card)) {
                    throw;
                }
                // Saved while the station's attribute word was unknown: the
                // module was held as a plain digital module, which has no
                // values of its own. It keeps the defaults of its model.
                card = IsIoSlotNumber(number) ? CardHandle(ioTypes.CreateByName(model))
                                              : comTypes.CreateByName(model);
            }
            slots[number] = std::move(card);
        }
    } catch (const std::exception&) {
        throw CPrivateException(FailureKind::File, GetMessage(Msg::desfileerr));
    }
    std::vector<LoadWarning> warnings;
    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        CollectLoadWarnings(reader, index, reader.GetText(SlotPath(number) + L"/type"), *slots[number],
                            warnings);
    }
    m_slots = std::move(slots);
    m_loadWarnings = std::move(warnings);
}

void CCardSlot::CollectLoadWarnings(const CXmlReaderWriter& reader, int slotIndex, const std::wstring& model,
                                    const CCardInterface& card, std::vector<LoadWarning>& warnings) const {
    const std::wstring slotPath = SlotPath(GetSlotNumber(slotIndex));
    const std::wstring slot = GetSlotCaption(slotIndex);
    const auto add = [&](LoadWarning::Kind kind, std::wstring text) {
        warnings.push_back({kind, slotIndex, std::move(text)});
    };
    if (reader.GetTexts(slotPath + L"/@no").size() > 1) {
        add(LoadWarning::Kind::DuplicateSlot, FormatMessage(Msg::loadwarn_slot, slot));
    }
    if (card.GetTypeCode() == -1 && model != card.GetCardName().GetModelName()) {
        add(LoadWarning::Kind::UnknownModel, FormatMessage(Msg::loadwarn_model, slot, model));
    }
    // The parameters of the slot's first copy, the one the load took.
    const std::vector<std::wstring> items = reader.GetTexts(L"(" + slotPath + L")[1]/parameter/@item");
    std::vector<std::wstring> reported;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::wstring& item = items[i];
        if (std::find(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(i), item) ==
                items.begin() + static_cast<std::ptrdiff_t>(i) ||
            std::find(reported.begin(), reported.end(), item) != reported.end()) {
            continue;
        }
        reported.push_back(item);
        std::wstring caption;
        for (int row = 0; row < card.GetParameterCount(); ++row) {
            const ParameterDefinition& definition = card.GetParameter(row);
            if (definition.kind != KindGroup && CMessageFormatter::Printf(L"%04x", ItemCodeOf(definition)) == item) {
                caption = TextOr([&] { return card.GetCaption(row); });
                break;
            }
        }
        add(LoadWarning::Kind::DuplicateItem, FormatMessage(Msg::loadwarn_item, slot, caption, item));
    }
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        const std::wstring refusal = card.GetTextRefusal(row);
        if (!refusal.empty()) {
            add(LoadWarning::Kind::RefusedText,
                FormatMessage(Msg::loadwarn_text, slot, TextOr([&] { return card.GetCaption(row); }), refusal));
        }
    }
}

std::wstring CCardSlot::FormatLoadWarnings(const std::wstring& fileName, std::size_t maxWarnings) const {
    if (m_loadWarnings.empty()) {
        return {};
    }
    std::wstring text = FormatMessage(Msg::loadwarn_heading, fileName);
    for (std::size_t i = 0; i < m_loadWarnings.size(); ++i) {
        if (i == maxWarnings) {
            text += L"\n  \u2026";
            break;
        }
        text += L"\n  " + m_loadWarnings[i].text;
    }
    return text;
}

const CCardSlot::LoadWarning* CCardSlot::FindAmbiguity() const {
    for (const LoadWarning& warning : m_loadWarnings) {
        if (warning.IsAmbiguous()) {
            return &warning;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Station reads shared by upload, download and monitoring

std::wstring CCardSlot::ReadModelName(CJX5COMInterface& link, std::uint32_t address, std::uint32_t item) {
    return CGICommandParser(link.ReadItem(address, 0, item)).GetValue();
}

std::uint32_t CCardSlot::ReadActiveModuleMap(CJX5COMInterface& link, bool acceptStatusWord) {
    const CGICommandParser reply(link.ReadItem(0, 0, kStationMapItem));
    const std::wstring& command = reply.GetCommand();
    if (command != L"UPMAP" && !(acceptStatusWord && command == L"STATUS")) {
        throw CPrivateException(FailureKind::InvalidReply, L"can't read active i/o card");
    }
    return reply.GetHexValue() & 0xFFFFU;
}

std::int32_t CCardSlot::ReadIoTypeCode(CJX5COMInterface& link, std::int32_t slotNumber,
                                       std::uint32_t activeMap) {
    if (!IsPresent(activeMap, slotNumber)) {
        return 0;
    }
    const std::wstring model =
        ReadModelName(link, 0, kIoModelItemBase + static_cast<std::uint32_t>(slotNumber));
    return CIOCardType().CodeFromName(model) & 0x7F;
}

// ---------------------------------------------------------------------------
// Upload

void CCardSlot::Upload(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask) {
    try {
        UploadSlots(link, progress, mask);
    } catch (const std::exception& error) {
        RaiseWrapped(link, Msg::uploaderr, error);
    }
}

void CCardSlot::UploadSlots(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask) {
    progress.SetTotal(18);
    CCOMCardType comTypes;
    SlotMap slots;
    StationAttribute attribute = m_attribute;

    const std::uint32_t activeMap = ReadActiveModuleMap(link, true);
    progress.Advance();
    const auto isRead = [&](int index) {
        const std::int32_t number = GetSlotNumber(index);
        return IsChosen(mask, index) && (!IsIoSlotNumber(number) || IsPresent(activeMap, number));
    };
    // The share counts one step for the map and one for each I/O slot, and
    // its total only the modules present: on a station with empty slots it
    // is full early. The modules and their items count what is read.
    progress.SetTotal(CountModules(activeMap) + 1);
    int modules = 0;
    for (int index = 0; index < kSlotCount; ++index) {
        modules += isRead(index) ? 1 : 0;
    }
    progress.SetModuleCount(modules);
    const ItemCounting counting(link, progress);

    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        const auto address = static_cast<std::uint32_t>(number);
        if (isRead(index)) {
            progress.BeginModule();
            CardHandle card =
                IsIoSlotNumber(number)
                    ? CardHandle(CIOCardType(attribute).CreateByName(
                          ReadModelName(link, 0, kIoModelItemBase + address)))
                    : CardHandle(comTypes.CreateByName(ReadModelName(link, 0, kStationNameItem)));
            // The model's name was the first item.
            progress.SetItemCount(1 + card->CountUploadExchanges(false));
            slots[number] = card;
            card->UploadParameters(number, link, false);
            // The communication module comes first: the I/O modules are made
            // for the attribute word it has just reported.
            if (!IsIoSlotNumber(number)) {
                attribute = AttributeReadBy(*card, attribute);
            }
        } else if (IsIoSlotNumber(number)) {
            slots[number] = CIOCardType(attribute).CreateByCode(0);
        }
        // An unchosen COM slot stays out of the new rack altogether, and takes no step.
        if (IsIoSlotNumber(number)) {
            progress.Advance();
        }
    }
    m_slots = std::move(slots);
    m_attribute = attribute;
}

// ---------------------------------------------------------------------------
// Download

void CCardSlot::Download(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask) const {
    int writing = -1;
    try {
        DownloadSlots(link, progress, mask, writing);
    } catch (const std::exception& error) {
        if (writing < 0) {
            RaiseWrapped(link, Msg::downloaderr, error);
        }
        // The module may have taken some of its values and not the others:
        // the user must know which one to write again.
        const std::wstring partial = FormatMessage(Msg::partialerr, GetSlotCaption(writing));
        if (link.IsCancelled()) {
            throw CPrivateException(FailureKind::PartialWrite, FormatMessage(Msg::downloadcancel, partial));
        }
        throw CPrivateException(
            FailureKind::PartialWrite,
            FormatMessage(Msg::downloaderr,
                          GetExceptionMessage(error, kInnerMessageBuffer) + L"\n" + partial));
    }
}

void CCardSlot::CheckValuesToWrite(std::uint64_t mask) const {
    for (int index = 0; index < kSlotCount; ++index) {
        const CardHandle card = GetCard(index);
        if (card == nullptr || !IsChosen(mask, index)) {
            continue;
        }
        // Not written at all, as the write phase below decides.
        if (IsIoSlotNumber(GetSlotNumber(index)) && IsDigital16Card(index) && !m_attribute.AddressesDigital16()) {
            continue;
        }
        for (int row = 0; row < card->GetParameterCount(); ++row) {
            if (!card->IsWrittenByDownload(row)) {
                continue;
            }
            try {
                card->CheckStoredValue(row);
            } catch (const std::exception& error) {
                const std::wstring caption = TextOr([&] { return card->GetCaption(row); });
                throw CPrivateException(
                    FailureKind::Input,
                    FormatNumberedMessage(Msg::downvalueerr, GetSlotCaption(index), caption,
                                          ValueForMessage(*card, row),
                                          GetExceptionMessage(error, kInnerMessageBuffer)));
            }
        }
    }
}

void CCardSlot::DownloadSlots(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask,
                              int& writing) const {
    progress.SetTotal(35);
    // Nothing reaches the station while a value to write would be refused.
    CheckValuesToWrite(mask);
    const std::uint32_t activeMap = ReadActiveModuleMap(link, false);
    progress.Advance();
    const auto isWritten = [&](int index) {
        const std::int32_t number = GetSlotNumber(index);
        if (GetCard(index) == nullptr || !IsChosen(mask, index)) {
            return false;
        }
        // The 16-point digital modules take writes only on stations whose
        // attribute word allows addressing them directly.
        return !IsIoSlotNumber(number) ||
               (IsPresent(activeMap, number) && (!IsDigital16Card(index) || m_attribute.AddressesDigital16()));
    };
    // As in the upload, the share's total counts the modules present and
    // its steps every slot; the modules and items count what is written.
    progress.SetTotal(CountModules(activeMap) + 1);
    int modules = 0;
    for (int index = 0; index < kSlotCount; ++index) {
        modules += isWritten(index) ? 1 : 0;
    }

    // Nothing is written until the whole station has been found to match.
    CompareWithStation(link, mask, activeMap);

    progress.SetModuleCount(modules);
    const ItemCounting counting(link, progress);
    for (int index = 0; index < kSlotCount; ++index) {
        if (isWritten(index)) {
            const CardHandle card = GetCard(index);
            progress.BeginModule();
            progress.SetItemCount(card->CountDownloadExchanges(GetSlotNumber(index), m_attribute));
            WriteModule(*card, index, link, writing);
        }
        progress.Advance();
    }
}

void CCardSlot::WriteModule(CCardInterface& card, int slotIndex, CJX5COMInterface& link, int& writing) const {
    // A cancel between two modules leaves none of them half-written.
    link.ThrowIfCancelled();
    writing = slotIndex;
    card.DownloadParameters(GetSlotNumber(slotIndex), link, 0, false, m_attribute);
    writing = -1;
}

void CCardSlot::CompareWithStation(CJX5COMInterface& link, std::uint64_t mask,
                                   std::uint32_t activeMap) const {
    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        const CardHandle card = GetCard(index);
        if (!IsIoSlotNumber(number)) {
            // Checked whether chosen or not: the parameters of every module
            // depend on the communication module they were made for.
            const std::wstring model = ReadModelName(link, static_cast<std::uint32_t>(number), kStationNameItem);
            if (card == nullptr || card->GetCardName().GetModelName() != model) {
                throw CPrivateException(FailureKind::Mismatch, GetMessage(Msg::difcomcarderr));
            }
            continue;
        }
        if (!IsChosen(mask, index)) {
            continue;
        }
        const std::int32_t stationCode = ReadIoTypeCode(link, number, activeMap);
        if (card == nullptr || card->GetTypeCode() != stationCode) {
            throw CPrivateException(FailureKind::Mismatch, FormatMessage(Msg::difcarderr, number));
        }
    }
}

// ---------------------------------------------------------------------------
// Monitoring

void CCardSlot::RefreshForMonitor(CJX5COMInterface& link) {
    try {
        RefreshSlots(link);
    } catch (const std::exception&) {
        // A monitoring cycle is no upload: its failure goes on as it is,
        // unless it is the owner's own cancel.
        if (link.IsCancelled()) {
            throw CPrivateException::Cancellation();
        }
        throw;
    }
}

void CCardSlot::RefreshSlots(CJX5COMInterface& link) {
    if (m_simulationPending != 0) {
        SimulateOutput(link);
    }
    const CIOCardType ioTypes(m_attribute);
    CCOMCardType comTypes;
    SlotMap slots;

    const std::uint32_t activeMap = ReadActiveModuleMap(link, false);
    // The whole line-up first, so that a slot's cards are made from one
    // consistent picture of the station.
    std::array<std::int32_t, kSlotCount> codes{};
    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        if (IsIoSlotNumber(number)) {
            codes[static_cast<std::size_t>(index)] = ReadIoTypeCode(link, number, activeMap);
        }
    }

    for (int index = 0; index < kSlotCount; ++index) {
        const std::int32_t number = GetSlotNumber(index);
        const std::int32_t code = codes[static_cast<std::size_t>(index)];
        try {
            if (!IsIoSlotNumber(number)) {
                CardHandle card = comTypes.CreateByName(ReadModelName(link, 0, kStationNameItem));
                slots[number] = card;
                card->UploadParameters(number, link, true);
                card->ExchangeLiveValues(number, link, false, m_attribute);
                continue;
            }
            CardHandle& card = slots[number];
            if (card == nullptr || card->GetTypeCode() != code) {
                card = ioTypes.CreateByCode(code);
            }
            if (code != 0) {
                if (index == m_monitoredSlot) {
                    card->UploadParameters(number, link, true);
                }
                card->ExchangeLiveValues(number, link, false, m_attribute);
            }
        } catch (const std::exception&) {
            // A module that does not answer must not stop the others from
            // being shown; its slot keeps what this cycle made of it.
            CardHandle& card = slots[number];
            if (card == nullptr) {
                card = ioTypes.CreateByCode(0);
            }
        }
    }
    m_slots = std::move(slots);
}

void CCardSlot::SimulateOutput(CJX5COMInterface& link) {
    m_simulationPending = 0;
    try {
        SimulateOnCard(link);
    } catch (const std::exception& error) {
        if (link.IsCancelled()) {
            throw CPrivateException::Cancellation();
        }
        throw CPrivateException(GetFailureKind(error), GetMessage(Msg::simuouterr));
    }
}

void CCardSlot::SimulateOnCard(CJX5COMInterface& link) {
    const CardHandle shown = GetCard(m_simulationSlot);
    if (shown == nullptr || shown->GetTypeCode() == 0) {
        return;
    }
    const std::int32_t code = shown->GetTypeCode();
    const std::int32_t number = GetSlotNumber(m_simulationSlot);
    // The monitor window draws from a copy of this rack that shares its
    // cards, and keeps drawing while this runs on the monitoring thread. The
    // simulation therefore goes through a card of this rack's own, which
    // takes the shared card's place.
    const CardHandle card = CopyCard(*shown, number);
    SetCard(m_simulationSlot, card);
    const int count = SimulationValueCount(ModelInSlot(number, code));
    card->SetSimulationMode(m_simulationMode);
    for (int i = 0; i < count; ++i) {
        card->SetSimulationValue(i, m_simulationValues[static_cast<std::size_t>(i)]);
    }
    card->ExchangeLiveValues(number, link, true, m_attribute);
}
