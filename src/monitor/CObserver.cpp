#include "monitor/CObserver.h"

CObserver::~CObserver() = default;
