// The reply path of the link: whatever bytes the module puts on the line, a
// command either returns what a well-formed reply said or raises our own
// exception, and every request it writes is a well-formed frame.
//
// Input: command, address, page, item, count, text length, text, then the
// bytes the module sends. The fake port hands those bytes out in order and
// comes back short at once when they run out, which is how a time-out looks.
#include "FuzzSupport.h"

#include "base/CPrivateException.h"
#include "link/CJX5COMInterface.h"
#include "link/CSerialBackend.h"

#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Line {
    std::span<const std::uint8_t> incoming; // what the module sends
    std::size_t at = 0;
    Bytes written; // what the computer sent
};

Line g_line;

class ReplayPort : public CSerialBackend {
public:
    bool Open(const std::wstring&) override { return true; }
    bool Configure(const SerialLineSettings&) override { return true; }
    std::size_t Write(const std::uint8_t* data, std::size_t count) override {
        g_line.written.insert(g_line.written.end(), data, data + count);
        return count;
    }
    std::size_t Read(std::uint8_t* buffer, std::size_t count, std::uint32_t) override {
        const std::size_t left = g_line.incoming.size() - g_line.at;
        const std::size_t taken = count < left ? count : left;
        std::copy_n(g_line.incoming.begin() + static_cast<std::ptrdiff_t>(g_line.at), taken, buffer);
        g_line.at += taken;
        return taken;
    }
    // The input stands for what arrives after the request, so nothing is thrown away:
    // no purge, and no drain at the first opening (the line starts clean).
    void Purge(std::uint32_t) override {}
    bool StartsClean() const override { return true; }
    void CancelPending() override {}
    void Close() override {}
};

// The reference reading of the line, independent of the link's code: the
// payload of the next reply frame, or nothing when it is broken or short.
std::optional<Bytes> NextReply(std::span<const std::uint8_t> line, std::size_t& at) {
    if (line.size() - at < 2) {
        return std::nullopt;
    }
    const std::uint8_t stx = line[at];
    const std::size_t length = line[at + 1];
    at += 2;
    if (stx != 0x02 || line.size() - at < length + 3) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> body = line.subspan(at, length + 3);
    at += length + 3;
    if (body[length] != 0x03) {
        return std::nullopt;
    }
    return Bytes(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(length));
}

// The payload of a command's reply when the module accepted the request.
std::optional<Bytes> AcceptedReply(std::span<const std::uint8_t> line, std::size_t& at, std::uint8_t address) {
    std::optional<Bytes> reply = NextReply(line, at);
    if (!reply || reply->size() < 4 || (*reply)[0] != address || (*reply)[3] != 0) {
        return std::nullopt;
    }
    return reply;
}

std::wstring TextOf(const Bytes& reply) {
    std::wstring text;
    for (std::size_t i = 4; i < reply.size() && reply[i] != 0; ++i) {
        text.push_back(static_cast<wchar_t>(reply[i]));
    }
    return text;
}

std::uint16_t SlowCrc(std::span<const std::uint8_t> bytes) {
    std::uint16_t crc = 0xFFFF;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) != 0 ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

// The request frames the link wrote, checked for layout and CRC.
std::vector<Bytes> WrittenRequests() {
    std::vector<Bytes> requests;
    const Bytes& out = g_line.written;
    std::size_t at = 0;
    while (at < out.size()) {
        if (out.size() - at < 5 || out[at] != 0x02) {
            k52fuzz::Finding("the link wrote a request that is not a frame");
        }
        const std::size_t length = out[at + 1];
        if (out.size() - at < length + 5 || out[at + 2 + length] != 0x03) {
            k52fuzz::Finding("the link wrote a frame whose length byte is wrong");
        }
        const std::uint16_t crc = SlowCrc(std::span<const std::uint8_t>(out).subspan(at, length + 3));
        if (out[at + 3 + length] != (crc >> 8) || out[at + 4 + length] != (crc & 0xFF)) {
            k52fuzz::Finding("the link wrote a frame with a wrong CRC");
        }
        requests.emplace_back(out.begin() + static_cast<std::ptrdiff_t>(at + 2),
                              out.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
        at += length + 5;
    }
    return requests;
}

Bytes ReadRequest(std::uint8_t address, std::uint8_t page, std::uint8_t item) {
    return {address, 0x15, 0x00, page, item};
}

Bytes WriteRequest(std::uint8_t address, std::uint8_t page, std::uint8_t item, const std::wstring& text) {
    Bytes request = {address, 0x16, 0x00, page, item, static_cast<std::uint8_t>(text.size())};
    for (wchar_t c : text) {
        request.push_back(static_cast<std::uint32_t>(c) <= 0xFF ? static_cast<std::uint8_t>(c) : '?');
    }
    return request;
}

void ExpectRequests(const std::vector<Bytes>& expected) {
    const std::vector<Bytes> written = WrittenRequests();
    if (written != expected) {
        k52fuzz::Finding("the link wrote other requests than the command asked for (" +
                         std::to_string(written.size()) + " written, " + std::to_string(expected.size()) +
                         " expected)");
    }
}

enum Command { RawFrame, ReadOne, ReadMany, WriteOne, ReadThenWrite, WriteMany, CommandCount };

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    k52fuzz::LoadEnglish();
    RegisterVirtualPortFactory(L"fuzz:", [](const std::wstring&) { return std::make_unique<ReplayPort>(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kHeader = 6;
    if (size < kHeader) {
        return 0;
    }
    const auto command = static_cast<Command>(data[0] % CommandCount);
    const bool wideText = (data[0] & 0x40) != 0; // two bytes a character, beyond Latin-1 too
    const bool cancelFirst = (data[0] & 0x80) != 0;
    const std::uint8_t address = data[1];
    const std::uint8_t page = data[2];
    const std::uint8_t item = data[3];
    const std::size_t count = data[4] % 4 + 1;
    std::size_t textBytes = data[5];
    if (wideText) {
        textBytes *= 2;
    }
    if (size - kHeader < textBytes) {
        return 0;
    }
    std::wstring text;
    for (std::size_t i = 0; i < textBytes; i += wideText ? 2 : 1) {
        const std::uint8_t* at = data + kHeader + i;
        text.push_back(static_cast<wchar_t>(wideText ? (at[0] << 8 | at[1]) : at[0]));
    }
    g_line = Line{};
    g_line.incoming = std::span<const std::uint8_t>(data + kHeader + textBytes, size - kHeader - textBytes);
    const std::span<const std::uint8_t> line = g_line.incoming;

    CJX5COMInterface link;
    CComSettings settings = link.GetSettings();
    settings.SetDevicePath(L"fuzz:line");
    settings.SetDisplayName(L"fuzz");
    link.SetSettings(settings);
    link.Open();
    if (cancelFirst) {
        link.Cancel();
    }

    // What a correct link does with these bytes, worked out beforehand.
    std::size_t at = 0;
    bool succeeds = !cancelFirst;
    std::vector<std::wstring> expectedTexts;
    std::vector<Bytes> expectedRequests;
    std::vector<std::uint32_t> pages;
    std::vector<std::uint32_t> items;
    std::vector<std::wstring> texts;
    for (std::size_t k = 0; k < count; ++k) {
        pages.push_back(static_cast<std::uint8_t>(page + k));
        items.push_back(static_cast<std::uint8_t>(item + k));
        texts.push_back(k < text.size() ? text.substr(k) : std::wstring());
    }
    Bytes rawPayload;
    switch (command) {
    case RawFrame: {
        std::optional<Bytes> reply = NextReply(line, at);
        succeeds = succeeds && reply &&
                   (reply->size() < 2 || (reply->size() >= 4 && (*reply)[0] == address && (*reply)[3] == 0));
        if (reply) {
            rawPayload = *reply;
        }
        break;
    }
    case ReadOne:
    case ReadThenWrite: {
        if (!cancelFirst) {
            expectedRequests.push_back(ReadRequest(address, page, item));
        }
        std::optional<Bytes> reply = NextReply(line, at);
        const bool attributeRead = address == 0 && page == 0 && item == 27;
        if (reply && attributeRead && reply->size() >= 4 && (*reply)[3] >= 50) {
            expectedTexts.push_back(L"ATTRIB:0000");
        } else if (reply && reply->size() >= 4 && (*reply)[0] == address && (*reply)[3] == 0) {
            expectedTexts.push_back(TextOf(*reply));
        } else {
            succeeds = false;
        }
        if (command == ReadThenWrite && succeeds) {
            if (text.size() + 6 > 255) {
                succeeds = false;
            } else {
                expectedRequests.push_back(WriteRequest(address, page, item, text));
                succeeds = AcceptedReply(line, at, address).has_value();
            }
        }
        break;
    }
    case ReadMany:
        for (std::size_t k = 0; k < count && succeeds; ++k) {
            expectedRequests.push_back(ReadRequest(address, static_cast<std::uint8_t>(pages[k]),
                                                   static_cast<std::uint8_t>(items[k])));
            std::optional<Bytes> reply = AcceptedReply(line, at, address);
            succeeds = reply.has_value();
            if (reply) {
                expectedTexts.push_back(TextOf(*reply));
            }
        }
        break;
    case WriteOne:
    case WriteMany: {
        const std::size_t writes = command == WriteOne ? 1 : count;
        for (std::size_t k = 0; k < writes && succeeds; ++k) {
            const std::wstring& written = command == WriteOne ? text : texts[k];
            if (written.size() + 6 > 255) {
                succeeds = false;
                break;
            }
            expectedRequests.push_back(WriteRequest(address, static_cast<std::uint8_t>(pages[k]),
                                                    static_cast<std::uint8_t>(items[k]), written));
            succeeds = AcceptedReply(line, at, address).has_value();
        }
        break;
    }
    case CommandCount:
        break;
    }

    bool succeeded = false;
    std::vector<std::wstring> gotTexts;
    try {
        switch (command) {
        case RawFrame: {
            Bytes payload;
            link.ReceiveFrame(payload);
            if (payload != rawPayload) {
                k52fuzz::Finding("ReceiveFrame returned another payload than the frame carried");
            }
            link.CheckReply(address, payload);
            break;
        }
        case ReadOne:
            gotTexts.push_back(link.ReadItem(address, page, item));
            break;
        case ReadMany:
            link.ReadItems(address, pages, items, gotTexts);
            break;
        case WriteOne:
            link.WriteItem(address, page, item, text);
            break;
        case ReadThenWrite:
            link.ReadThenWriteItem(address, page, item, text);
            break;
        case WriteMany:
            link.WriteItems(address, pages, items, texts);
            break;
        case CommandCount:
            break;
        }
        succeeded = true;
    } catch (const CPrivateException& error) {
        // The read-then-write reports every failure as its own, a
        // cancellation included; its callers ask the link whether it was cancelled.
        if (error.IsCancellation() != (cancelFirst && command != ReadThenWrite)) {
            k52fuzz::Finding(cancelFirst ? "a cancelled command reported a failure"
                                         : "a failed command was reported as a cancellation");
        }
    }

    if (succeeded != succeeds) {
        k52fuzz::Finding(succeeded ? "a command succeeded on a reply that should have failed it"
                                   : "a command failed on a reply that should have passed");
    }
    if (succeeded && command != ReadThenWrite && gotTexts != expectedTexts) {
        k52fuzz::Finding("a read returned another text than the reply carried");
    }
    if (command != RawFrame) {
        ExpectRequests(expectedRequests);
    }
    return 0;
}
