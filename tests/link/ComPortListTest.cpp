#include "base/CProfile.h"
#include "link/CComPortList.h"
#include "link/CComSettings.h"
#ifndef _WIN32
#include "link/posix/SysfsPortSources.h"
#endif
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct Row {
    std::wstring path;
    std::wstring name;
    bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const CComPortList& list) {
    std::vector<Row> rows;
    rows.reserve(static_cast<std::size_t>(list.GetCount()));
    for (int position = 0; position < list.GetCount(); ++position) {
        rows.push_back({list.GetDevicePath(position), list.GetDisplayName(position)});
    }
    return rows;
}

void PrintTo(const Row& row, std::ostream* out) {
    *out << std::string(row.path.begin(), row.path.end()) << " | "
         << std::string(row.name.begin(), row.name.end());
}

ComPortSources Recorded(const std::vector<ComPortDeviceIdRecord>& deviceIds,
                        const std::vector<ComPortPortNameRecord>& portNames,
                        const std::vector<ComPortAdapterRecord>& adapters = {}) {
    ComPortSources sources;
    sources.deviceIds = [deviceIds] { return deviceIds; };
    sources.portNames = [portNames] { return portNames; };
    sources.adapters = [adapters] { return adapters; };
    return sources;
}

// The device path of COM port n on this system.
std::wstring Port(int number) {
    return CComPortList::DevicePathOfPort(number);
}

} // namespace

TEST(ComPortList, WithoutRecordsHoldsSixteenPortsAndTheDemoStation) {
    const CComPortList list{ComPortSources{}};
    ASSERT_EQ(list.GetCount(), 17);
#ifdef _WIN32
    EXPECT_EQ(Port(9), L"COM9");
    EXPECT_EQ(Port(10), L"\\\\.\\COM10") << "beyond COM9 only the device namespace knows the name";
#else
    EXPECT_EQ(Port(1), L"/dev/ttyS0");
#endif
    EXPECT_EQ(Rows(list).front(), (Row{Port(1), L"COM1"}));
    EXPECT_EQ(Rows(list)[9], (Row{Port(10), L"COM10"}));
    EXPECT_EQ(Rows(list)[15], (Row{Port(16), L"COM16"}));
    EXPECT_EQ(Rows(list).back(), (Row{L"sim:", L"Demo station (simulated)"}));
    EXPECT_EQ(list.GetDevicePath(-1), L"");
    EXPECT_EQ(list.GetDisplayName(17), L"");
}

TEST(ComPortList, InventoryNamesGetTheirPortAppended) {
    const CComPortList list(Recorded({{L"COM3", L"Communications Port"},
                                      {L"COM4", L"USB Serial (COM4)"},
                                      {L"com5", L""},
                                      {L"COM12:", L"Modem"},
                                      {L"COM20", L"Far port"}},
                                     {}));
    const std::vector<Row> rows = Rows(list);
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[2], (Row{Port(3), L"Communications Port (COM3)"}));
    EXPECT_EQ(rows[3], (Row{Port(4), L"USB Serial (COM4)"}));
    // Only the system's generic description is one a window may translate.
    EXPECT_TRUE(list.IsGenericPort(2));
    EXPECT_FALSE(list.IsGenericPort(3));
    EXPECT_FALSE(list.IsGenericPort(0));
    EXPECT_EQ(rows[4], (Row{Port(5), L" (COM5)"}));
    EXPECT_EQ(rows[11], (Row{Port(12), L"Modem (COM12)"}));
    // A port beyond the defaults comes after them, before the demo station.
    EXPECT_EQ(rows[16], (Row{Port(20), L"Far port (COM20)"}));
    EXPECT_EQ(rows[17].path, L"sim:");
}

TEST(ComPortList, RegistryNamesTakeDigitsOnlyAndOverwriteTheInventory) {
    const CComPortList list(
        Recorded({{L"COM3", L"Communications Port"}, {L"COM7", L"Seven"}}, {{L"COM3", L""},
                                                                            {L"COM003", L"Leading zeros"},
                                                                            {L"COM7", L"Adapter"},
                                                                            {L"COM12:", L"Colon"},
                                                                            {L"COM8", L"Friendly COM8"}}));
    const std::vector<Row> rows = Rows(list);
    ASSERT_EQ(rows.size(), 17u);
    // COM003 is port 3 again and, coming later, wins over the empty name.
    EXPECT_EQ(rows[2], (Row{Port(3), L"Leading zeros"}));
    EXPECT_EQ(rows[6], (Row{Port(7), L"Adapter"})) << "nothing is appended to a friendly name";
    EXPECT_EQ(rows[7], (Row{Port(8), L"Friendly COM8"}));
    EXPECT_EQ(rows[11], (Row{Port(12), L"COM12"})) << "the colon is refused here";

    const CComPortList emptyName(Recorded({{L"COM3", L"Communications Port"}}, {{L"COM3", L""}}));
    EXPECT_EQ(emptyName.GetDisplayName(2), L"");
}

TEST(ComPortList, NamesThatAreNoPortsAreSkipped) {
    const std::vector<std::wstring> bad = {L"COMX",  L"COM",   L"LPT1",           L"COM:", L"COM0",
                                           L"COM1X", L"XCOM1", L"COM99999999999", L""};
    std::vector<ComPortDeviceIdRecord> deviceIds;
    std::vector<ComPortPortNameRecord> portNames;
    for (const std::wstring& name : bad) {
        deviceIds.push_back({name, L"bad"});
        portNames.push_back({name, L"bad"});
    }
    const CComPortList list(Recorded(deviceIds, portNames));
    EXPECT_EQ(Rows(list), Rows(CComPortList(ComPortSources{})));
}

TEST(ComPortList, AdaptersFollowTheNumberedPortsAndSelectionPrefersTheLastMatch) {
    const CComPortList list(Recorded({{L"COM20", L"Far"}}, {},
                                     {{L"/dev/ttyUSB0", L"USB UART (ttyUSB0)"}, {L"/dev/ttyACM0", L"COM1"}}));
    const std::vector<Row> rows = Rows(list);
    ASSERT_EQ(rows.size(), 20u);
    EXPECT_EQ(rows[16].name, L"Far (COM20)");
    EXPECT_EQ(rows[17], (Row{L"/dev/ttyUSB0", L"USB UART (ttyUSB0)"}));
    EXPECT_EQ(rows[19].path, L"sim:");

    EXPECT_EQ(list.FindSelection(L"USB UART (ttyUSB0)"), 17);
    EXPECT_EQ(list.FindSelection(L"COM1"), 18) << "the last of two equal names wins";
    EXPECT_EQ(list.FindSelection(L"com1"), 0) << "no match selects the first entry";
    EXPECT_EQ(list.FindSelection(L""), 0);
}

#ifndef _WIN32 // the Linux port inventory reads sysfs
TEST(SysfsPortSources, ReadUartsWithHardwareAndUsbAdaptersWithTheirNames) {
    k52test::TempDir root;
    const fs::path tty = root.path() / "class" / "tty";
    const fs::path usbDevice = root.path() / "devices" / "usb1" / "1-1";
    const fs::path usbSerial = usbDevice / "1-1:1.0" / "ttyUSB1";
    fs::create_directories(usbSerial);
    k52test::WriteFile(usbDevice / "idVendor", "0403\n");
    k52test::WriteFile(usbDevice / "manufacturer", "Maker\n");
    k52test::WriteFile(usbDevice / "product", "Maker USB UART\n");
    const fs::path bareModem = root.path() / "devices" / "acm";
    fs::create_directories(bareModem);
    for (const char* name :
         {"ttyS0", "ttyS1", "ttyS10", "ttyUSB1", "ttyUSB10", "ttyACM0", "tty5", "ttyUSBx"}) {
        fs::create_directories(tty / name);
    }
    k52test::WriteFile(tty / "ttyS0" / "type", "4\n");
    k52test::WriteFile(tty / "ttyS1" / "type", "0\n");
    k52test::WriteFile(tty / "ttyS10" / "type", "4\n");
    fs::create_directory_symlink(usbSerial, tty / "ttyUSB1" / "device");
    fs::create_directory_symlink(bareModem, tty / "ttyACM0" / "device");

    const std::vector<ComPortDeviceIdRecord> uarts = ReadSysfsUarts(tty);
    ASSERT_EQ(uarts.size(), 2u);
    EXPECT_EQ(uarts[0].deviceId, L"COM1");
    EXPECT_EQ(uarts[1].deviceId, L"COM11");

    const std::vector<ComPortAdapterRecord> adapters = ReadSysfsAdapters(tty, "/dev");
    ASSERT_EQ(adapters.size(), 3u);
    EXPECT_EQ(adapters[0].devicePath, L"/dev/ttyACM0");
    EXPECT_EQ(adapters[0].displayName, L"USB modem port (ttyACM0)");
    EXPECT_EQ(adapters[1].devicePath, L"/dev/ttyUSB1");
    EXPECT_EQ(adapters[1].displayName, L"Maker USB UART (ttyUSB1)");
    EXPECT_EQ(adapters[2].devicePath, L"/dev/ttyUSB10");
    EXPECT_EQ(adapters[2].displayName, L"USB serial port (ttyUSB10)");

    EXPECT_TRUE(ReadSysfsAdapters(root.path() / "missing").empty());
}
#endif

TEST(ComSettings, LoadsAndSavesItsThreeEntriesAndMapsTheLineCodes) {
    CMemoryProfile profile;
    CComSettings empty(profile);
    EXPECT_EQ(empty.GetPortNumber(), 0);
    EXPECT_EQ(empty.GetDevicePath(), L"");
    EXPECT_EQ(empty.GetBaudRate(), 9600u);
    EXPECT_EQ(empty.GetByteSize(), 8u);
    EXPECT_EQ(empty.GetParity(), 0u);
    EXPECT_EQ(empty.GetStopBits(), CComSettings::kOneStopBit);

    empty.SetPortNumber(4);
    empty.SetDevicePath(L"/dev/ttyUSB0");
    empty.SetDisplayName(L"Maker USB UART (ttyUSB0)");
    empty.SaveToProfile(profile);
    EXPECT_EQ(profile.GetInt(L"ComSettings", L"COMPort", -1), 4);
    EXPECT_EQ(profile.GetString(L"ComSettings", L"COMPortName", L""), L"/dev/ttyUSB0");
    EXPECT_EQ(profile.GetString(L"ComSettings", L"COMPortDisplayName", L""), L"Maker USB UART (ttyUSB0)");

    CComSettings loaded(profile);
    loaded.SetLineCodes(5, 0, 2, 1);
    EXPECT_EQ(loaded.GetBaudRate(), 38400u);
    EXPECT_EQ(loaded.GetByteSize(), 7u);
    EXPECT_EQ(loaded.GetParity(), 2u);
    EXPECT_EQ(loaded.GetStopBits(), CComSettings::kTwoStopBits);
    loaded.SetLineCodes(6, 2, 0, 2);
    EXPECT_EQ(loaded.GetBaudRate(), 1200u);
    EXPECT_EQ(loaded.GetByteSize(), 7u);
    EXPECT_EQ(loaded.GetStopBits(), CComSettings::kOneStopBit);

    // Loading puts the line codes back to the only ones the link uses.
    loaded.LoadFromProfile(profile);
    EXPECT_EQ(loaded.GetDisplayName(), L"Maker USB UART (ttyUSB0)");
    EXPECT_EQ(loaded.GetBaudRate(), 9600u);
    EXPECT_EQ(loaded.GetByteSize(), 8u);
}

#ifndef _WIN32 // the Linux port inventory reads sysfs
namespace {

// A fake device tree with one USB adapter: its sysfs entry under the given
// USB socket and tty number, and its stable name leading to the tty.
struct FakeAdapterTree {
    k52test::TempDir root;
    fs::path tty = root.path() / "class" / "tty";
    fs::path byId = root.path() / "dev" / "serial" / "by-id";

    void Plug(const std::string& socket, const std::string& ttyName, const std::string& stableName,
              const std::string& serial) {
        const fs::path usbDevice = root.path() / "devices" / "usb1" / socket;
        const fs::path usbSerial = usbDevice / (socket + ":1.0") / ttyName;
        fs::create_directories(usbSerial);
        k52test::WriteFile(usbDevice / "idVendor", "0403\n");
        k52test::WriteFile(usbDevice / "manufacturer", "Maker\n");
        k52test::WriteFile(usbDevice / "product", "USB UART\n");
        k52test::WriteFile(usbDevice / "serial", serial + "\n");
        fs::create_directories(tty / ttyName);
        fs::create_directory_symlink(usbSerial, tty / ttyName / "device");
        fs::create_directories(byId);
        fs::create_symlink(fs::path("../..") / ttyName, byId / stableName);
    }

    void UnplugAll() {
        fs::remove_all(tty);
        fs::remove_all(byId);
        fs::remove_all(root.path() / "devices");
    }

    ComPortSources Sources() const {
        ComPortSources sources;
        sources.adapters = [this] { return ReadSysfsAdapters(tty, root.path() / "dev", byId); };
        return sources;
    }
};

} // namespace

TEST(SysfsPortSources, AdaptersWithAStableNameKeepPathAndNameInAnotherSocket) {
    FakeAdapterTree tree;
    const std::string stable = "usb-Maker_USB_UART_A50285BI-if00-port0";
    tree.Plug("1-1", "ttyUSB0", stable, "A50285BI");
    // The second interface of a two-port adapter, and a modem without a stable name.
    tree.Plug("1-3", "ttyUSB1", "usb-Maker_USB_UART_B7-if01-port0", "B7");
    fs::create_directories(tree.tty / "ttyACM0");

    const std::wstring stablePath = (tree.byId / stable).wstring();
    CComPortList list(tree.Sources());
    ASSERT_EQ(list.GetCount(), 16 + 3 + 1);
    EXPECT_EQ(list.GetDevicePath(16), (tree.root.path() / "dev" / "ttyACM0").wstring());
    EXPECT_EQ(list.GetDisplayName(16), L"USB modem port (ttyACM0)");
    EXPECT_EQ(list.GetDevicePath(17), stablePath);
    EXPECT_EQ(list.GetDisplayName(17), L"Maker USB UART (A50285BI)");
    EXPECT_EQ(list.GetDisplayName(18), L"Maker USB UART (B7) if01-port0");

    // The profile keeps the entry's path and name; the adapter comes back in
    // another socket under another number, and the stored name finds it.
    CMemoryProfile profile;
    CComSettings stored(profile);
    stored.SetDevicePath(list.GetDevicePath(17));
    stored.SetDisplayName(list.GetDisplayName(17));
    stored.SaveToProfile(profile);

    tree.UnplugAll();
    tree.Plug("2-4", "ttyUSB7", stable, "A50285BI");
    CComPortList replugged(tree.Sources());
    const CComSettings loaded(profile);
    const int position = replugged.FindSelection(loaded.GetDisplayName());
    EXPECT_EQ(replugged.GetDevicePath(position), stablePath);
    EXPECT_EQ(replugged.GetDevicePath(position), loaded.GetDevicePath());

    // Without the USB device's own texts the stable name says what it is.
    fs::remove(tree.root.path() / "devices" / "usb1" / "2-4" / "manufacturer");
    fs::remove(tree.root.path() / "devices" / "usb1" / "2-4" / "product");
    EXPECT_EQ(ReadSysfsAdapters(tree.tty, "/dev", tree.byId).at(0).displayName, L"Maker USB UART A50285BI");
}
#endif
