#pragma once
#include "catalog/ParameterDefinition.h"

#include <string>

// The rules of the parameter list that do not depend on a window: which rows
// it shows, which in-place editor a row gets, how its cells are tinted and how
// long a tool tip may be.

// The in-place editor a row is changed with.
enum class EditorKind {
    None,     // the value cannot be edited in place
    DropDown, // a choice from the card's option list
    Text      // typed, then checked and converted by the card
};

EditorKind EditorKindFor(const ParameterDefinition& definition);

// Configuration mode shows every row but the one-shot command values; adjust
// mode shows only the adjustment rows and those command values.
bool IsShownInList(const ParameterDefinition& definition, bool adjustMode);

// A row the stepper of adjust mode may change.
bool IsSteppable(const ParameterDefinition& definition);

struct RgbColor {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const RgbColor&, const RgbColor&) = default;
};

// Moves every channel of a colour away from the middle by percent: a dark
// colour is lightened (capped at 255), a light one darkened (floored at 0).
// Whole-number arithmetic, so that 240 darkened by 5 % is 228, not 227.
RgbColor TintColor(RgbColor color, int percent);

// Tool tips of the list show at most this many characters of a cell.
constexpr std::size_t kToolTipLength = 79;
std::wstring ToolTipText(const std::wstring& cellText);
