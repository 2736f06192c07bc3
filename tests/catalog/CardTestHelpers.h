#pragma once
#include "catalog/CCardInterface.h"

#include <gtest/gtest.h>

#include <string_view>

namespace k52test {

// Index of the row with this caption key; fails the test when the model has none.
inline int RowOf(const CCardInterface& card, std::wstring_view textKey) {
    for (int row = 0; row < card.GetParameterCount(); ++row) {
        if (textKey == card.GetParameter(row).textKey) {
            return row;
        }
    }
    ADD_FAILURE() << "no row with this key";
    return 0;
}

} // namespace k52test
