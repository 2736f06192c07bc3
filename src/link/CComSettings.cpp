#include "link/CComSettings.h"

#include "base/CProfile.h"

#include <iterator>

namespace {

const wchar_t* const kSection = L"ComSettings";
const wchar_t* const kPortEntry = L"COMPort";
const wchar_t* const kPathEntry = L"COMPortName";
const wchar_t* const kDisplayEntry = L"COMPortDisplayName";

} // namespace

CComSettings::CComSettings() {
    LoadFromProfile();
}

CComSettings::CComSettings(const CProfile& profile) {
    LoadFromProfile(profile);
}

void CComSettings::LoadFromProfile() {
    LoadFromProfile(CProfile::Application());
}

void CComSettings::LoadFromProfile(const CProfile& profile) {
    m_portNumber = profile.GetInt(kSection, kPortEntry, 0);
    m_devicePath = profile.GetString(kSection, kPathEntry, L"");
    m_displayName = profile.GetString(kSection, kDisplayEntry, L"");
    ResetLineCodes();
}

void CComSettings::SaveToProfile() const {
    SaveToProfile(CProfile::Application());
}

void CComSettings::SaveToProfile(CProfile& profile) const {
    profile.WriteInt(kSection, kPortEntry, m_portNumber);
    profile.WriteString(kSection, kPathEntry, m_devicePath);
    profile.WriteString(kSection, kDisplayEntry, m_displayName);
}

void CComSettings::SetLineCodes(std::uint32_t baud, std::uint32_t dataBits, std::uint32_t parity,
                                std::uint32_t stopBits) {
    m_baudCode = baud;
    m_dataBitsCode = dataBits;
    m_parity = parity;
    m_stopBitsCode = stopBits;
}

void CComSettings::ResetLineCodes() {
    SetLineCodes(3, 1, 0, 0);
}

std::uint32_t CComSettings::GetBaudRate() const {
    static constexpr std::uint32_t kRates[] = {1200, 2400, 4800, 9600, 19200, 38400};
    return m_baudCode < std::size(kRates) ? kRates[m_baudCode] : 1200;
}

std::uint32_t CComSettings::GetByteSize() const {
    return m_dataBitsCode == 1 ? 8 : 7;
}

std::uint32_t CComSettings::GetStopBits() const {
    return m_stopBitsCode == 1 ? kTwoStopBits : kOneStopBit;
}
