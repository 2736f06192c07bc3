#include "link/posix/SysfsPortSources.h"

#include "base/TextConvert.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <tuple>

namespace fs = std::filesystem;

namespace {

std::string ReadAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

// The number after a name's prefix ("ttyUSB12" with "ttyUSB" gives 12).
std::optional<unsigned> NumberAfter(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() > prefix.size() + 6) {
        return std::nullopt;
    }
    unsigned number = 0;
    for (std::size_t at = prefix.size(); at < name.size(); ++at) {
        if (name[at] < '0' || name[at] > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<unsigned>(name[at] - '0');
    }
    return number;
}

std::vector<std::string> EntryNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

// The USB device above a tty: the first folder upwards that has a vendor id.
std::optional<fs::path> UsbDeviceOf(const fs::path& ttyEntry) {
    std::error_code error;
    fs::path at = fs::canonical(ttyEntry / "device", error);
    if (error) {
        return std::nullopt;
    }
    for (int level = 0; level < 6 && at.has_relative_path(); ++level, at = at.parent_path()) {
        if (fs::exists(at / "idVendor", error)) {
            return at;
        }
    }
    return std::nullopt;
}

// The stable names of a folder such as /dev/serial/by-id, by the tty each
// one leads to ("ttyUSB0"); the first name in order where several lead to one.
std::map<std::string, std::string> StableNames(const fs::path& byIdDir) {
    std::map<std::string, std::string> names;
    if (byIdDir.empty()) {
        return names;
    }
    std::vector<std::string> entries = EntryNames(byIdDir);
    std::sort(entries.begin(), entries.end());
    for (const std::string& entry : entries) {
        std::error_code error;
        const fs::path target = fs::read_symlink(byIdDir / entry, error);
        if (error) {
            continue;
        }
        names.emplace(target.filename().string(), entry);
    }
    return names;
}

// What a stable name tells when the USB device does not: "usb-Maker_Product_
// Serial-if00-port0" gives "Maker Product Serial".
std::string LabelOfStableName(const std::string& name) {
    std::string label = name;
    if (label.rfind("usb-", 0) == 0) {
        label.erase(0, 4);
    }
    if (const std::size_t interface = label.rfind("-if"); interface != std::string::npos) {
        label.erase(interface);
    }
    std::replace(label.begin(), label.end(), '_', ' ');
    return label;
}

// The interface part of a stable name ("if01-port0"), empty for the first
// interface: a multi-port adapter has one name per interface.
std::string InterfaceOfStableName(const std::string& name) {
    const std::size_t interface = name.rfind("-if");
    if (interface == std::string::npos) {
        return {};
    }
    const std::string part = name.substr(interface + 1);
    return part.rfind("if00", 0) == 0 ? std::string() : part;
}

} // namespace

std::vector<ComPortDeviceIdRecord> ReadSysfsUarts(const fs::path& classTty) {
    std::vector<std::pair<unsigned, ComPortDeviceIdRecord>> found;
    for (const std::string& name : EntryNames(classTty)) {
        const std::optional<unsigned> line = NumberAfter(name, "ttyS");
        if (!line) {
            continue;
        }
        const std::string type = ReadAttribute(classTty / name / "type");
        if (type.empty() || type == "0") {
            continue;
        }
        found.push_back({*line, {L"COM" + std::to_wstring(*line + 1), CComPortList::kGenericPortName}});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<ComPortDeviceIdRecord> records;
    records.reserve(found.size());
    for (auto& [line, record] : found) {
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<ComPortAdapterRecord> ReadSysfsAdapters(const fs::path& classTty, const fs::path& deviceDir,
                                                    const fs::path& byIdDir) {
    const std::map<std::string, std::string> stableNames = StableNames(byIdDir);
    std::vector<std::tuple<int, unsigned, ComPortAdapterRecord>> found;
    const std::string prefixes[] = {"ttyACM", "ttyUSB"};
    for (const std::string& name : EntryNames(classTty)) {
        for (int kind = 0; kind < 2; ++kind) {
            const std::optional<unsigned> number = NumberAfter(name, prefixes[kind]);
            if (!number) {
                continue;
            }
            std::string label;
            std::string serial;
            if (const std::optional<fs::path> usb = UsbDeviceOf(classTty / name)) {
                const std::string maker = ReadAttribute(*usb / "manufacturer");
                const std::string product = ReadAttribute(*usb / "product");
                serial = ReadAttribute(*usb / "serial");
                label = maker;
                if (!product.empty() && product.find(maker) == std::string::npos) {
                    label += label.empty() ? product : " " + product;
                } else if (!product.empty()) {
                    label = product;
                }
            }
            ComPortAdapterRecord record;
            if (const auto stable = stableNames.find(name); stable != stableNames.end()) {
                if (label.empty()) {
                    label = LabelOfStableName(stable->second);
                } else if (!serial.empty()) {
                    label.append(" (").append(serial).append(")");
                }
                if (const std::string interface = InterfaceOfStableName(stable->second); !interface.empty()) {
                    label.append(" ").append(interface);
                }
                record = ComPortAdapterRecord{(byIdDir / stable->second).wstring(), FromUtf8(label)};
            } else {
                if (label.empty()) {
                    label = kind == 0 ? "USB modem port" : "USB serial port";
                }
                label.append(" (").append(name).append(")");
                record = ComPortAdapterRecord{(deviceDir / name).wstring(), FromUtf8(label)};
            }
            found.emplace_back(kind, *number, std::move(record));
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(std::get<0>(a), std::get<1>(a)) < std::tie(std::get<0>(b), std::get<1>(b));
    });
    std::vector<ComPortAdapterRecord> records;
    records.reserve(found.size());
    for (auto& entry : found) {
        records.push_back(std::move(std::get<2>(entry)));
    }
    return records;
}

ComPortSources ComPortSources::System() {
    ComPortSources sources;
    sources.deviceIds = [] { return ReadSysfsUarts("/sys/class/tty"); };
    // The device registry's "PortName" records have no counterpart here.
    sources.adapters = [] { return ReadSysfsAdapters("/sys/class/tty", "/dev", "/dev/serial/by-id"); };
    return sources;
}
