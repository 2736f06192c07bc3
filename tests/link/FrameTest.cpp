#include "ScriptedPeer.h"

#include "link/CModbusCRC.h"
#include "link/WireFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>

using linktest::Bytes;

TEST(ModbusCrc, MatchesTheCheckValueAndTheBitwiseDefinition) {
    const std::string check = "123456789";
    const Bytes checkBytes(check.begin(), check.end());
    EXPECT_EQ(CModbusCRC::Compute(checkBytes), 0x4B37);

    // The pair read from an object passed through every byte.
    const CModbusCRC passed = std::for_each(checkBytes.begin(), checkBytes.end(), CModbusCRC());
    EXPECT_EQ(passed.GetHigh(), 0x4B);
    EXPECT_EQ(passed.GetLow(), 0x37);
    EXPECT_EQ(CModbusCRC().GetValue(), 0xFFFF);

    // Every table entry, then runs of random bytes.
    for (int byte = 0; byte < 256; ++byte) {
        const Bytes one = {static_cast<std::uint8_t>(byte)};
        ASSERT_EQ(CModbusCRC::Compute(one), linktest::ReferenceCrc(one)) << byte;
    }
    std::mt19937 random(52);
    for (int run = 0; run < 50; ++run) {
        Bytes bytes(random() % 300);
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(random()); });
        ASSERT_EQ(CModbusCRC::Compute(bytes), linktest::ReferenceCrc(bytes));
    }
}

TEST(Frame, CarriesLengthPayloadEtxAndCrcHighByteFirst) {
    EXPECT_EQ(BuildFrame(Bytes{0x00, 0x15, 0x00, 0x00, 0x06}),
              (Bytes{0x02, 0x05, 0x00, 0x15, 0x00, 0x00, 0x06, 0x03, 0xB0, 0xDA}));
    EXPECT_EQ(BuildFrame(Bytes{}), (Bytes{0x02, 0x00, 0x03, 0x01, 0x90}));

    const Bytes largest(255, 0xAA);
    const Bytes frame = BuildFrame(largest);
    EXPECT_EQ(frame.size(), 260u);
    EXPECT_EQ(frame[1], 255);
    EXPECT_EQ(frame, linktest::ReferenceFrame(largest));
    // 256 bytes have no length byte; they are refused, not wrapped to 0.
    EXPECT_THROW(BuildFrame(Bytes(256, 0xAA)), std::length_error);
}

TEST(WireText, IsLatin1BothWays) {
    EXPECT_EQ(EncodeWireText(L"A\u00FC\u00FF\u0100\u20AC"), (Bytes{'A', 0xFC, 0xFF, '?', '?'}));
    EXPECT_EQ(EncodeWireText(L""), Bytes{});
    EXPECT_EQ(DecodeWireText(Bytes{'O', 0xB0, 'C'}), L"O\u00B0C");
    EXPECT_EQ(DecodeWireText(Bytes{'a', 0, 'b'}), L"a");
    EXPECT_EQ(DecodeWireText(Bytes{}), L"");
}
