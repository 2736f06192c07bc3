#include "rack/CProgressCounter.h"

CProgressCounter::~CProgressCounter() = default;
