#include "base/Version.h"

#include "base/BuildVersion.h"
#include "base/TextConvert.h"

std::wstring GetVersionCaption() {
    return FromUtf8(K52_PRODUCT_NAME) + L" Version " + FromUtf8(K52_PRODUCT_VERSION);
}
