#include "ParameterCustomListHost.h"

ParameterCustomListHost::~ParameterCustomListHost() = default;
