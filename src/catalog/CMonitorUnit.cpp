#include "catalog/CMonitorUnit.h"

CMonitorUnit::CMonitorUnit() = default;

CMonitorUnit::~CMonitorUnit() = default;
