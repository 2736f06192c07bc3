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
//
// With a folder of stable names (normally /dev/serial/by-id), an adapter
// that has one is listed by it: its path stays the same whichever USB
// socket the adapter is plugged into and whichever ttyUSB number it gets,
// and its display name (maker, product and serial number) does not name the
// number either, so a stored choice finds the adapter again. Adapters
// without a stable name keep their device path and "(ttyUSB0)" in the name.
std::vector<ComPortAdapterRecord> ReadSysfsAdapters(const std::filesystem::path& classTty,
                                                    const std::filesystem::path& deviceDir = "/dev",
                                                    const std::filesystem::path& byIdDir = {});
