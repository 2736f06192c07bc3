#include "editing/ParameterListRules.h"

#include <algorithm>

EditorKind EditorKindFor(const ParameterDefinition& definition) {
    switch (definition.kind) {
    case KindList:
        return EditorKind::DropDown;
    case KindSigned32:
    case KindUnsigned32:
    case KindDecimal16:
    case KindInteger16:
    case KindIpAddress:
    case KindWord32:
    case KindDecimal16Raw:
        return EditorKind::Text;
    case KindText:
        // Login names, passwords, date and time and the server address are
        // typed; the other text slots hold what the module reports.
        return definition.textSlot >= 6 && definition.textSlot <= 11 ? EditorKind::Text : EditorKind::None;
    default:
        return EditorKind::None;
    }
}

bool IsShownInList(const ParameterDefinition& definition, bool adjustMode) {
    if (adjustMode) {
        return (definition.flags & (FlagAdjustment | FlagOnDemand)) != 0;
    }
    return (definition.flags & FlagOnDemand) == 0;
}

bool IsSteppable(const ParameterDefinition& definition) {
    return (definition.flags & FlagAdjustment) != 0;
}

RgbColor TintColor(RgbColor color, int percent) {
    const bool dark = color.red + color.green + color.blue < 3 * 128;
    auto tint = [dark, percent](int channel) {
        return dark ? std::min(255, channel * (100 + percent) / 100)
                    : std::max(0, channel * (100 - percent) / 100);
    };
    return RgbColor{tint(color.red), tint(color.green), tint(color.blue)};
}

std::wstring ToolTipText(const std::wstring& cellText) {
    return cellText.substr(0, std::min(cellText.size(), kToolTipLength));
}
