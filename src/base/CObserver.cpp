#include "base/CObserver.h"

CObserver::~CObserver() = default;
