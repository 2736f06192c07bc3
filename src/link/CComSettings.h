#pragma once
#include <cstdint>
#include <string>
#include <utility>

class CProfile;

// The user's port choice and the line settings of the link. A plain value:
// each operation that talks to the station builds one from the profile,
// updates it from the port drop-down list, saves it and copies it into the link.
class CComSettings {
public:
    // Platform stop-bit codes handed to the port.
    static constexpr std::uint32_t kOneStopBit = 0;
    static constexpr std::uint32_t kTwoStopBits = 2;

    // Defaults, then the entries of the application profile.
    CComSettings();
    // Defaults, then the entries of the given profile.
    explicit CComSettings(const CProfile& profile);

    void LoadFromProfile();
    void LoadFromProfile(const CProfile& profile);
    void SaveToProfile() const;
    void SaveToProfile(CProfile& profile) const;

    std::int32_t GetPortNumber() const { return m_portNumber; }
    void SetPortNumber(std::int32_t number) { m_portNumber = number; }
    const std::wstring& GetDevicePath() const { return m_devicePath; }
    void SetDevicePath(std::wstring path) { m_devicePath = std::move(path); }
    const std::wstring& GetDisplayName() const { return m_displayName; }
    void SetDisplayName(std::wstring name) { m_displayName = std::move(name); }

    // Codes as stored: baud 0..5 (1200..38400), data bits 0/1 (7/8),
    // parity 0 none / 1 odd / 2 even, stop bits 0/1 (one/two).
    void SetLineCodes(std::uint32_t baud, std::uint32_t dataBits, std::uint32_t parity,
                      std::uint32_t stopBits);

    std::uint32_t GetBaudRate() const;
    std::uint32_t GetByteSize() const;
    std::uint32_t GetParity() const { return m_parity; }
    std::uint32_t GetStopBits() const;

    // Bit i selects slot index i for a transfer; written by the main window
    // before a transfer and read by the transfer threads.
    std::uint64_t GetModuleSelectionMask() const { return m_moduleSelectionMask; }
    void SetModuleSelectionMask(std::uint64_t mask) { m_moduleSelectionMask = mask; }

private:
    void ResetLineCodes();

    std::int32_t m_portNumber = 0;
    std::wstring m_devicePath;
    std::wstring m_displayName;
    std::uint32_t m_baudCode = 3;
    std::uint32_t m_dataBitsCode = 1;
    std::uint32_t m_parity = 0;
    std::uint32_t m_stopBitsCode = 0;
    std::uint64_t m_moduleSelectionMask = 0;
};
