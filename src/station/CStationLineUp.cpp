#include "station/CStationLineUp.h"

#include "catalog/ModelRegistry.h"

#include <stdexcept>

namespace {

constexpr std::wstring_view kDefaultCommunicationModel = L"K52HQ8";

std::wstring_view Trim(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A slot number of one or two decimal digits, or -1.
int ParseSlot(std::wstring_view text) {
    if (text.empty() || text.size() > 2) {
        return -1;
    }
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return -1;
        }
        value = value * 10 + (c - L'0');
    }
    return value < CStationLineUp::kSlotCount ? value : -1;
}

} // namespace

CStationLineUp::CStationLineUp() {
    m_models[0] = kDefaultCommunicationModel;
}

CStationLineUp CStationLineUp::Demo() {
    // An analog input with ranges, a 16-point digital module, a two-channel
    // input and a counter: the kinds of live value the monitor knows.
    CStationLineUp lineUp;
    lineUp.m_models[1] = L"JK7W";
    lineUp.m_models[2] = L"BJ58W";
    lineUp.m_models[3] = L"KZ9W";
    lineUp.m_models[4] = L"QB9W";
    return lineUp;
}

bool CStationLineUp::IsCommunicationModel(std::wstring_view name) {
    const ModelRow* row = FindModelByName(CardRegistry::Com, name);
    return row != nullptr && IsModule(*row);
}

bool CStationLineUp::IsIoModel(std::wstring_view name) {
    const ModelRow* row = FindModelByName(CardRegistry::Io, name);
    return row != nullptr && IsModule(*row);
}

std::optional<CStationLineUp> CStationLineUp::Parse(std::wstring_view text, std::wstring& error) {
    CStationLineUp lineUp;
    std::array<bool, kSlotCount> named{};
    text = Trim(text);
    while (!text.empty()) {
        const std::size_t comma = text.find(L',');
        const std::wstring_view entry = Trim(text.substr(0, comma));
        text = comma == std::wstring_view::npos ? std::wstring_view() : text.substr(comma + 1);
        if (entry.empty()) {
            error = L"empty entry in the module list";
            return std::nullopt;
        }
        const std::size_t equals = entry.find(L'=');
        if (equals == std::wstring_view::npos) {
            error = L"'" + std::wstring(entry) + L"' is not of the form slot=model";
            return std::nullopt;
        }
        const int slot = ParseSlot(Trim(entry.substr(0, equals)));
        const std::wstring model(Trim(entry.substr(equals + 1)));
        if (slot < 0) {
            error = L"'" + std::wstring(entry) + L"' names no slot from 0 to 16";
            return std::nullopt;
        }
        if (named[static_cast<std::size_t>(slot)]) {
            error = L"slot " + std::to_wstring(slot) + L" is named twice";
            return std::nullopt;
        }
        const bool known = slot == 0 ? IsCommunicationModel(model) : IsIoModel(model);
        if (!known) {
            error = L"'" + model + L"' is no " + (slot == 0 ? L"communication" : L"I/O") +
                    L" module model (slot " + std::to_wstring(slot) + L")";
            return std::nullopt;
        }
        named[static_cast<std::size_t>(slot)] = true;
        lineUp.m_models[static_cast<std::size_t>(slot)] = model;
    }
    return lineUp;
}

const std::wstring& CStationLineUp::GetModel(int slot) const {
    return m_models.at(static_cast<std::size_t>(slot));
}

void CStationLineUp::SetModel(int slot, std::wstring name) {
    if (slot == 0 ? !IsCommunicationModel(name) : !(name.empty() || IsIoModel(name))) {
        throw std::invalid_argument("module model does not fit the slot");
    }
    m_models.at(static_cast<std::size_t>(slot)) = std::move(name);
}

std::wstring CStationLineUp::ToText() const {
    std::wstring text;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::wstring& model = m_models[static_cast<std::size_t>(slot)];
        if (model.empty()) {
            continue;
        }
        if (!text.empty()) {
            text += L',';
        }
        text += std::to_wstring(slot) + L'=' + model;
    }
    return text;
}
