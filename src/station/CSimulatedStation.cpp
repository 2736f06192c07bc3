#include "station/CSimulatedStation.h"

#include "link/WireFormat.h"
#include "station/StationProtocol.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace {

std::uint8_t StatusOf(CSimulatedModule::Access access) {
    switch (access) {
    case CSimulatedModule::Access::Ok:
        return kStationStatusOk;
    case CSimulatedModule::Access::Refused:
        return kStationStatusRefused;
    case CSimulatedModule::Access::NoSuchItem:
        break;
    }
    return kStationStatusNoSuchItem;
}

bool IsStationItem(int address, int page, int item) {
    return address == 0 && page == 0 &&
           (item == kStationNameItem || item == kStationMapItem || item == kStationAttributeItem ||
            (item >= kStationFirstSlotItem && item < kStationFirstSlotItem + 16));
}

bool IsThroughItem(int address, int page, int item) {
    return address == 0 && page == kThroughPage && (item == 20 || item == 21 || item == 29 || item == 30);
}

bool Matches(const StationFault& fault, std::size_t index, const StationRequest& request) {
    return (!fault.requestIndex || *fault.requestIndex == index) &&
           (!fault.address || *fault.address == request.address) &&
           (!fault.command || *fault.command == request.command) &&
           (!fault.page || *fault.page == request.page) && (!fault.item || *fault.item == request.item);
}

} // namespace

CSimulatedStation::CSimulatedStation(const CStationLineUp& lineUp)
    : m_lineUp(lineUp), m_started(std::chrono::steady_clock::now()) {
    for (int slot = 0; slot < CStationLineUp::kSlotCount; ++slot) {
        const std::wstring& model = lineUp.GetModel(slot);
        if (!model.empty()) {
            m_modules[static_cast<std::size_t>(slot)] = std::make_unique<CSimulatedModule>(model, slot);
        }
    }
}

CSimulatedStation::~CSimulatedStation() = default;

CSimulatedModule* CSimulatedStation::ModuleAt(int address) const {
    if (address < 0 || address >= CStationLineUp::kSlotCount) {
        return nullptr;
    }
    return m_modules[static_cast<std::size_t>(address)].get();
}

std::int64_t CSimulatedStation::ClockLocked() const {
    if (m_frozenClock) {
        return *m_frozenClock;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_started)
        .count();
}

std::optional<StationFault> CSimulatedStation::TakeFaultLocked(std::size_t index,
                                                               const StationRequest& request) {
    const auto found = std::find_if(m_faults.begin(), m_faults.end(), [&](const StationFault& fault) {
        return Matches(fault, index, request);
    });
    if (found == m_faults.end()) {
        return std::nullopt;
    }
    StationFault fault = *found;
    if (found->times > 0 && --found->times == 0) {
        m_faults.erase(found);
    }
    return fault;
}

CSimulatedStation::Reply CSimulatedStation::HandleRequest(std::span<const std::uint8_t> payload) {
    std::lock_guard lock(m_mutex);
    const std::size_t index = m_log.size();
    StationRequest request;
    request.received = std::chrono::steady_clock::now();
    request.payload.assign(payload.begin(), payload.end());
    request.address = payload.size() > 0 ? payload[0] : 0;
    request.command = payload.size() > 1 ? payload[1] : 0;
    request.page = payload.size() > 3 ? payload[3] : 0;
    request.item = payload.size() > 4 ? payload[4] : 0;
    const bool isWrite = request.command == kStationWriteCommand;
    std::size_t textLength = 0;
    if (isWrite && payload.size() > 5) {
        textLength = payload[5];
        request.text = DecodeWireText(payload.subspan(6, std::min(textLength, payload.size() - 6)));
    }

    Reply reply;
    if (payload.empty()) {
        // Nothing to echo: a station keeps silent.
        reply.send = false;
        m_log.push_back(std::move(request));
        return reply;
    }

    const std::optional<StationFault> fault = TakeFaultLocked(index, request);
    std::uint8_t status = kStationStatusOk;
    std::wstring text;
    if (fault && fault->kind == StationFault::Kind::ErrorStatus) {
        // Turned down: the request is not carried out.
        status = fault->status;
    } else if (payload.size() < 5 || (request.command != kStationReadCommand && !isWrite) ||
               (isWrite && (payload.size() < 6 || payload.size() != 6 + textLength))) {
        status = kStationStatusBadRequest;
    } else if (isWrite) {
        status = WriteLocked(request.address, request.page, request.item, request.text);
    } else {
        status = ReadLocked(request.address, request.page, request.item, text);
    }

    reply.payload = {request.address, request.command, 0, status};
    if (status == kStationStatusOk && !isWrite) {
        const std::vector<std::uint8_t> bytes = EncodeWireText(text);
        reply.payload.insert(reply.payload.end(), bytes.begin(), bytes.end());
    }

    if (fault) {
        switch (fault->kind) {
        case StationFault::Kind::NoReply:
            reply.send = false;
            break;
        case StationFault::Kind::LateReply:
            reply.delay = fault->delay;
            break;
        case StationFault::Kind::WrongEcho:
            reply.payload[0] = static_cast<std::uint8_t>(request.address + 1);
            break;
        case StationFault::Kind::ShortPayload:
            reply.payload.resize(3);
            break;
        case StationFault::Kind::WrongStx:
        case StationFault::Kind::WrongEtx:
        case StationFault::Kind::TruncatedBody:
            reply.frameFault = fault->kind;
            break;
        case StationFault::Kind::ErrorStatus:
            break;
        }
    }
    request.answered = reply.send;
    request.status = reply.payload.size() > 3 ? reply.payload[3] : 0;
    m_log.push_back(std::move(request));
    return reply;
}

std::uint8_t CSimulatedStation::ReadLocked(int address, int page, int item, std::wstring& reply) const {
    if (IsStationItem(address, page, item)) {
        wchar_t buffer[32];
        if (item == kStationNameItem) {
            reply = L"NAME:" + m_lineUp.GetModel(0);
        } else if (item == kStationMapItem) {
            unsigned map = 0;
            for (int slot = 1; slot < CStationLineUp::kSlotCount; ++slot) {
                if (ModuleAt(slot) != nullptr) {
                    map |= 1U << (slot - 1);
                }
            }
            std::swprintf(buffer, 32, L"UPMAP:%04X", map);
            reply = buffer;
        } else if (item == kStationAttributeItem) {
            std::swprintf(buffer, 32, L"ATTRIB:%04d", m_attribute);
            reply = buffer;
        } else {
            reply = L"NAME:" + m_lineUp.GetModel(item - kStationFirstSlotItem + 1);
        }
        return kStationStatusOk;
    }
    if (IsThroughItem(address, page, item)) {
        return ReadThroughLocked(item, reply);
    }
    const CSimulatedModule* module = ModuleAt(address);
    if (module == nullptr) {
        return kStationStatusNoSuchItem;
    }
    return StatusOf(module->Read(page, item, ClockLocked(), reply));
}

// The communication module passes on the points of the 16-point digital
// module chosen at page 2 item 4, once page 2 item 1 has been set to "1".
std::uint8_t CSimulatedStation::ReadThroughLocked(int item, std::wstring& reply) const {
    const CSimulatedModule* com = ModuleAt(0);
    const std::int64_t now = ClockLocked();
    if (com->GetValue(kThroughPage, kThroughEnableItem, now) != std::optional<std::wstring>(L"1")) {
        return kStationStatusRefused;
    }
    const std::optional<std::wstring> slotText = com->GetValue(kThroughPage, kThroughSlotItem, now);
    const int slot = slotText ? std::stoi(*slotText) : 0;
    const CSimulatedModule* module = slot >= 1 ? ModuleAt(slot) : nullptr;
    if (module == nullptr || !module->IsDigital16()) {
        return kStationStatusNoSuchItem;
    }
    return StatusOf(module->Read(kThroughPage, item, now, reply));
}

std::uint8_t CSimulatedStation::WriteLocked(int address, int page, int item, const std::wstring& text) {
    if (IsStationItem(address, page, item) || IsThroughItem(address, page, item)) {
        return kStationStatusRefused;
    }
    CSimulatedModule* module = ModuleAt(address);
    if (module == nullptr) {
        return kStationStatusNoSuchItem;
    }
    return StatusOf(module->Write(page, item, text, ClockLocked()));
}

void CSimulatedStation::SetAttribute(int value) {
    std::lock_guard lock(m_mutex);
    m_attribute = value;
}

void CSimulatedStation::SetPacing(bool on) {
    std::lock_guard lock(m_mutex);
    m_pacing = on;
}

bool CSimulatedStation::IsPacing() const {
    std::lock_guard lock(m_mutex);
    return m_pacing;
}

void CSimulatedStation::FreezeClock(std::int64_t ms) {
    std::lock_guard lock(m_mutex);
    m_frozenClock = ms;
}

void CSimulatedStation::AdvanceClock(std::int64_t ms) {
    std::lock_guard lock(m_mutex);
    m_frozenClock = ClockLocked() + ms;
}

void CSimulatedStation::RunClock() {
    std::lock_guard lock(m_mutex);
    if (m_frozenClock) {
        m_started = std::chrono::steady_clock::now() - std::chrono::milliseconds(*m_frozenClock);
        m_frozenClock.reset();
    }
}

void CSimulatedStation::InjectFault(const StationFault& fault) {
    std::lock_guard lock(m_mutex);
    m_faults.push_back(fault);
}

void CSimulatedStation::ClearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.clear();
}

std::vector<StationRequest> CSimulatedStation::GetRequestLog() const {
    std::lock_guard lock(m_mutex);
    return m_log;
}

std::size_t CSimulatedStation::GetRequestCount() const {
    std::lock_guard lock(m_mutex);
    return m_log.size();
}

void CSimulatedStation::ClearRequestLog() {
    std::lock_guard lock(m_mutex);
    m_log.clear();
}

std::optional<std::wstring> CSimulatedStation::GetValue(int address, int page, int item) const {
    std::lock_guard lock(m_mutex);
    std::wstring reply;
    if (ReadLocked(address, page, item, reply) != kStationStatusOk) {
        return std::nullopt;
    }
    const std::size_t colon = reply.find(L':');
    return colon == std::wstring::npos ? reply : reply.substr(colon + 1);
}

std::uint8_t CSimulatedStation::SetValue(int address, int page, int item, const std::wstring& text) {
    std::lock_guard lock(m_mutex);
    return WriteLocked(address, page, item, text);
}

void CSimulatedStation::PinValue(int address, int page, int item, std::optional<std::wstring> text) {
    std::lock_guard lock(m_mutex);
    CSimulatedModule* module = ModuleAt(address);
    if (module == nullptr) {
        throw std::invalid_argument("no module at this address");
    }
    module->PinValue(page, item, std::move(text));
}
