#include "catalog/ParameterDefinition.h"

namespace {

std::int32_t ChannelDefinition::* FieldPointer(int number) {
    switch (number) {
    case 1: return &ChannelDefinition::channelKind;
    case 2: return &ChannelDefinition::reserved2;
    case 3: return &ChannelDefinition::reserved3;
    case 4: return &ChannelDefinition::reserved4;
    case 5: return &ChannelDefinition::reserved5;
    case 6: return &ChannelDefinition::valuePage;
    case 7: return &ChannelDefinition::secondPage;
    case 8: return &ChannelDefinition::thirdPage;
    case 9: return &ChannelDefinition::valueItem;
    case 10: return &ChannelDefinition::secondItem;
    case 11: return &ChannelDefinition::thirdItem;
    case 12: return &ChannelDefinition::valueDecimals;
    case 13: return &ChannelDefinition::secondDecimals;
    case 14: return &ChannelDefinition::thirdDecimals;
    case 15: return &ChannelDefinition::valueUnit;
    case 16: return &ChannelDefinition::secondUnit;
    case 17: return &ChannelDefinition::thirdUnit;
    case 18: return &ChannelDefinition::statusItem;
    default: return nullptr;
    }
}

} // namespace

std::int32_t ChannelDefinition::Field(int number) const {
    auto member = FieldPointer(number);
    return member != nullptr ? this->*member : 0;
}

bool IsPasswordRow(const ParameterDefinition& definition) {
    return definition.kind == KindText && (definition.textSlot == 7 || definition.textSlot == 9);
}
