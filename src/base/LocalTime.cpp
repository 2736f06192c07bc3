#include "base/LocalTime.h"

#include <cstdio>

bool ToLocalTime(std::time_t moment, std::tm& local) {
#ifdef _WIN32
    return ::localtime_s(&local, &moment) == 0;
#else
    return ::localtime_r(&moment, &local) != nullptr;
#endif
}

long UtcOffsetSeconds(std::time_t moment) {
    std::tm local{};
    if (!ToLocalTime(moment, local)) {
        return 0;
    }
#ifdef _WIN32
    // The local fields read as if they were UTC, less the moment itself.
    local.tm_isdst = 0;
    const std::time_t asUtc = ::_mkgmtime(&local);
    return asUtc == static_cast<std::time_t>(-1) ? 0 : static_cast<long>(asUtc - moment);
#else
    return local.tm_gmtoff;
#endif
}

std::string UtcOffsetText(std::time_t moment, const char* separator) {
    const long minutes = UtcOffsetSeconds(moment) / 60;
    const int absolute = static_cast<int>((minutes < 0 ? -minutes : minutes) % (24L * 60L));
    char text[32];
    std::snprintf(text, sizeof text, "%c%02d%s%02d", minutes < 0 ? '-' : '+', absolute / 60, separator,
                  absolute % 60);
    return text;
}
