#include "app/Version.h"

#include "app/BuildVersion.h"
#include "app/TextConvert.h"

std::wstring GetVersionCaption() {
    return FromUtf8(K52_PRODUCT_NAME) + L" Version " + FromUtf8(K52_PRODUCT_VERSION);
}
