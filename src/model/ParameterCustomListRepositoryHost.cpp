#include "ParameterCustomListRepositoryHost.h"

ParameterCustomListRepositoryHost::ParameterCustomListRepositoryHost() = default;

ParameterCustomListRepositoryHost::~ParameterCustomListRepositoryHost() = default;
