#include "catalog/CCardNULL.h"

CCardNULL::CCardNULL(std::int32_t typeCode)
    : CCardInterface(typeCode, std::span<const ParameterDefinition>(), std::span<const ChannelDefinition>()) {
}
