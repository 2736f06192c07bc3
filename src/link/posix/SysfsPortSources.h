#pragma once
#include "link/CComPortList.h"

#include <filesystem>
#include <vector>

// Port records read from the kernel's tty class directory (normally
// /sys/class/tty); the folder is a parameter so that recorded trees can be read.

// Built-in UARTs that have hardware behind them (a "type" other than 0):
// ttyS<n> is reported as COM<n+1>.
std::vector<ComPortDeviceIdRecord> ReadSysfsUarts(const std::filesystem::path& classTty);

// Present USB serial and modem adapters (ttyUSB*, ttyACM*), in name order,
// named after their maker and product where the USB device reports them.
std::vector<ComPortAdapterRecord> ReadSysfsAdapters(const std::filesystem::path& classTty,
                                                    const std::filesystem::path& deviceDir = "/dev");
