#include "catalog/CCardHZKJ8.h"

#include "catalog/CMonitorUnit.h"

CCardHZKJ8::CCardHZKJ8(std::int32_t typeCode) : CCardInterface(typeCode, TableHZKJ8()) {}

void CCardHZKJ8::FillMonitorUnit(std::int32_t channel, CMonitorUnit& unit) const {
    if (channel != 0) {
        CCardInterface::FillMonitorUnit(channel, unit);
        return;
    }
    unit.kind = CMonitorUnit::KindDateTime;
    unit.name = Database().GetParameterText(GetSectionName(), L"datetimeset");
    unit.values = GetTextSlot(10);
}
