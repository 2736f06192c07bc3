#include "catalog/CCardUnknown.h"

CCardUnknown::CCardUnknown(std::int32_t typeCode)
    : CCardInterface(typeCode, std::span<const ParameterDefinition>(), std::span<const ChannelDefinition>()) {
}
