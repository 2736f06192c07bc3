#pragma once
#include "app/CResourceManager.h"
#include "link/CComSettings.h"
#include "link/CSerialIO.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

// The link to a station: one request frame, one reply frame per exchange, and
// the two item commands built on it. Every failure is raised as
// CPrivateException; a cancelled link raises the empty text and refuses every
// later exchange.
class CJX5COMInterface : public CResourceManager {
public:
    CJX5COMInterface();
    ~CJX5COMInterface() override;
    CJX5COMInterface(const CJX5COMInterface&) = delete;
    CJX5COMInterface& operator=(const CJX5COMInterface&) = delete;

    const CComSettings& GetSettings() const { return m_settings; }
    CComSettings& GetSettings() { return m_settings; }
    void SetSettings(const CComSettings& settings) { m_settings = settings; }

    // Opens the port of the settings; its failures keep their own texts.
    void Open();
    void Close();
    // The one call another thread may make while an exchange runs.
    void Cancel();
    bool IsCancelled() const { return m_cancelled.load(); }

    std::wstring ReadItem(std::uint32_t address, std::uint32_t page, std::uint32_t item);
    void ReadItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                   const std::vector<std::uint32_t>& items, std::vector<std::wstring>& texts);
    void WriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item, const std::wstring& text);
    void ReadThenWriteItem(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                           const std::wstring& text);
    void WriteItems(std::uint32_t address, const std::vector<std::uint32_t>& pages,
                    const std::vector<std::uint32_t>& items, const std::vector<std::wstring>& texts);

    // Frame layer, public for the commands' callers that need a raw exchange.
    void SendFrame(const std::vector<std::uint8_t>& payload);
    void ReceiveFrame(std::vector<std::uint8_t>& payload);
    void CheckReply(std::uint8_t expectedEcho, const std::vector<std::uint8_t>& payload);
    void ThrowIfCancelled() const;

    static constexpr std::uint32_t kReplyTimeoutMs = 1000;

private:
    // One request and its checked reply payload.
    std::vector<std::uint8_t> Exchange(const std::vector<std::uint8_t>& payload);
    std::wstring ReadItemUnwrapped(std::uint32_t address, std::uint32_t page, std::uint32_t item);
    void WriteItemUnwrapped(std::uint32_t address, std::uint32_t page, std::uint32_t item,
                            const std::wstring& text);
    [[noreturn]] void RaiseLinkFailure(const wchar_t* word, std::uint32_t address, std::uint32_t number,
                                       std::uint32_t count, const std::exception& inner) const;

    CSerialIO m_port;
    CComSettings m_settings;
    std::atomic<bool> m_cancelled{false};
};
