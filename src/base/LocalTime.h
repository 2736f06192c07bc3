#pragma once
#include <ctime>
#include <string>

// The computer's local time, the same on every system (the C library's own
// calls differ: localtime_r and tm_gmtoff are POSIX only).

// The broken-down local time of a moment; false when the system cannot tell.
bool ToLocalTime(std::time_t moment, std::tm& local);

// How far the local time is ahead of UTC at that moment, in seconds.
long UtcOffsetSeconds(std::time_t moment);

// That offset as "+0900" (separator empty) or "+09:00" (separator ":").
std::string UtcOffsetText(std::time_t moment, const char* separator = "");
