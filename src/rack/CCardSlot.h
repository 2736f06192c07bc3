#pragma once
#include "base/CResourceManager.h"
#include "catalog/CCardInterface.h"
#include "catalog/StationAttribute.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CJX5COMInterface;
class CProgressCounter;
class CXmlReaderWriter;

// The rack of one station: the communication module in the COM slot and the
// sixteen I/O slots, each holding a card. Slots are addressed by their index
// (0 to 16, the row of the slot list and the bit of a selection mask); the
// number a slot has on the station is read through a fixed table, and only
// numbers 1 to 16 are I/O slots.
//
// Cards are shared, not copied: copying a rack or some of its slots makes
// both racks hold the same card objects. The window and the monitoring thread
// copy and drop handles of the same cards, so the handles are counted
// atomically (std::shared_ptr).
//
// A rack is used by one thread at a time.
class CCardSlot : protected CResourceManager {
public:
    using CardHandle = std::shared_ptr<CCardInterface>;

    static constexpr int kSlotCount = 17;
    static constexpr int kSimulationValueCount = CCardInterface::kSimulationValueCount;
    // The selection mask of every slot.
    static constexpr std::uint64_t kAllSlots = (std::uint64_t{1} << kSlotCount) - 1;

    // The slot number at an index; raises std::out_of_range outside 0 to 16.
    static std::int32_t GetSlotNumber(int slotIndex);
    static bool IsIoSlotNumber(std::int32_t slotNumber) { return slotNumber >= 1 && slotNumber <= 16; }

    // An empty rack: no slot holds a card until Clear or a load fills it.
    CCardSlot();
    // An empty rack of a station with this attribute.
    explicit CCardSlot(StationAttribute attribute) : m_attribute(attribute) {}
    CCardSlot(const CCardSlot& other);
    CCardSlot& operator=(const CCardSlot& other);
    ~CCardSlot() override;

    // A fresh default card in every slot: the empty card in the I/O slots,
    // the communication card of code 0 in the COM slot.
    void Clear();

    // A card of the same model as the given one, in a slot of that number,
    // holding the same values and live side. For a thread that must not use
    // a card another thread may be reading or changing.
    static CardHandle CopyCard(const CCardInterface& card, std::int32_t slotNumber);

    // A copy of the rack whose cards are copies too, so that it shares
    // nothing with this one: what one thread hands another.
    CCardSlot CopyWithOwnCards() const;

    // The card of a slot, or null when the slot holds none.
    CardHandle GetCard(int slotIndex) const;
    void SetCard(int slotIndex, CardHandle card);
    bool HasCard(int slotIndex) const { return GetCard(slotIndex) != nullptr; }
    bool IsDigital16Card(int slotIndex) const;

    // Takes over the cards of the slots whose bit is set in the mask. A slot
    // that holds no card in the source keeps its own. The station attribute
    // comes with the communication module's card.
    void CopySlots(const CCardSlot& source, std::uint64_t mask);

    // The station attribute word that an upload of the communication module
    // last read into this rack (kept by copies and file loads; 0 until then).
    // The rack's 16-point digital modules are made, read and written by it.
    StationAttribute GetStationAttribute() const { return m_attribute; }
    void SetStationAttribute(StationAttribute attribute) { m_attribute = attribute; }

    // What is odd in a hand-edited configuration file that a load takes all
    // the same, as files have always been taken: of a slot or a parameter
    // the file holds twice the first copy is used, an unknown model opens as
    // the unknown module, a text the module would refuse stays as it is.
    struct LoadWarning {
        enum class Kind { DuplicateSlot, DuplicateItem, UnknownModel, RefusedText };
        Kind kind = Kind::DuplicateSlot;
        int slotIndex = 0;
        std::wstring text; // for the user, naming the slot and the item
        // The file can be read two ways: which copy was meant is unknown.
        bool IsAmbiguous() const { return kind == Kind::DuplicateSlot || kind == Kind::DuplicateItem; }
    };

    // File names are paths made with PathFromArgument or PathFromText (FilePath.h).
    void SaveToFile(const std::filesystem::path& path) const;
    // Replaces the rack by a configuration file's; on failure the rack stays as it was.
    void LoadFromFile(const std::filesystem::path& path);
    // The same, for a comparison or a report of the file as it stands: the
    // module information rows (versions, MAC address) come from the file too,
    // where an open leaves the card's own.
    void LoadForComparison(const std::filesystem::path& path);
    // Either from a file already read (CXmlReaderWriter::Load): for a caller
    // that makes racks of one file for more than one station attribute.
    void LoadDocument(const CXmlReaderWriter& document, bool forComparison);
    // The warnings of the file the rack was last loaded from, in slot order.
    const std::vector<LoadWarning>& GetLoadWarnings() const { return m_loadWarnings; }
    // The first warning about a file that can be read two ways, or null.
    const LoadWarning* FindAmbiguity() const;
    // The warnings for the user under a heading naming the file, one a line,
    // at most maxWarnings of them (an ellipsis stands for the rest); empty
    // when there are none.
    std::wstring FormatLoadWarnings(const std::wstring& fileName, std::size_t maxWarnings = SIZE_MAX) const;

    // Reads the chosen slots from the station into a new set of cards, which
    // replaces this rack's only when everything was read.
    void Upload(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask);
    // Checks every value it is to write with its card's own checks, then
    // that the station holds the rack's modules, and only then writes the
    // chosen slots. A failure or cancel that stops a module half-written
    // names that module in its message.
    void Download(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask) const;

    // Raises, naming the slot, row, value and the card's message, for the
    // first value of the chosen slots that a download would write but the
    // parameter list would not take.
    void CheckValuesToWrite(std::uint64_t mask) const;

    // One monitoring cycle: rebuilds the rack from the station and reads live values.
    void RefreshForMonitor(CJX5COMInterface& link);
    // Carries out the pending simulation request.
    void SimulateOutput(CJX5COMInterface& link);

    // Simulation request for the next monitoring cycle: four or eight values
    // are used, depending on the module.
    void RequestSimulation(int slotIndex, std::int32_t mode, std::span<const std::int32_t> values);
    bool IsSimulationPending() const { return m_simulationPending != 0; }
    int GetSimulationSlot() const { return m_simulationSlot; }

    // The slot whose parameters each monitoring cycle reads again; -1 for none.
    void SetMonitoredSlot(int slotIndex) { m_monitoredSlot = slotIndex; }
    int GetMonitoredSlot() const { return m_monitoredSlot; }

    std::wstring GetSlotCaption(int slotIndex) const;

private:
    using SlotMap = std::map<std::int32_t, CardHandle>;

    static void CheckIndex(int slotIndex);
    static std::uint32_t ReadActiveModuleMap(CJX5COMInterface& link, bool acceptStatusWord);
    static std::int32_t ReadIoTypeCode(CJX5COMInterface& link, std::int32_t slotNumber,
                                       std::uint32_t activeMap);
    static std::wstring ReadModelName(CJX5COMInterface& link, std::uint32_t address, std::uint32_t item);
    static bool IsChosen(std::uint64_t mask, int slotIndex) { return ((mask >> slotIndex) & 1U) != 0; }
    static bool IsPresent(std::uint32_t activeMap, std::int32_t slotNumber) {
        return ((activeMap >> (slotNumber - 1)) & 1U) != 0;
    }

    // What LoadSlots warns about in the slot it has just read.
    void CollectLoadWarnings(const CXmlReaderWriter& reader, int slotIndex, const std::wstring& model,
                             const CCardInterface& card, std::vector<LoadWarning>& warnings) const;
    // A 16-point digital module saved while the station's attribute word was
    // unknown: its slot in the file holds the model and no value at all.
    static bool IsSavedWithoutValues(const CXmlReaderWriter& reader, const std::wstring& slotPath,
                                     std::int32_t slotNumber, const CCardInterface& card);
    void UploadSlots(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask);
    // Writes one module's parameters, marking it in writing while it is written.
    void WriteModule(CCardInterface& card, int slotIndex, CJX5COMInterface& link, int& writing) const;
    void CompareWithStation(CJX5COMInterface& link, std::uint64_t mask, std::uint32_t activeMap) const;
    // writing: the slot index of the module being written, -1 between modules.
    void DownloadSlots(CJX5COMInterface& link, CProgressCounter& progress, std::uint64_t mask,
                       int& writing) const;
    void RefreshSlots(CJX5COMInterface& link);
    void SimulateOnCard(CJX5COMInterface& link);

    SlotMap m_slots;
    StationAttribute m_attribute;
    std::int32_t m_simulationSlot = 0;
    std::int32_t m_simulationMode = 0;
    std::array<std::int32_t, kSimulationValueCount> m_simulationValues{};
    std::uint8_t m_simulationPending = 0;
    std::int32_t m_monitoredSlot = -1;
    std::vector<LoadWarning> m_loadWarnings;
};
