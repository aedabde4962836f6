#include "ParameterCustomListInformation.h"

ParameterCustomListInformation::ParameterCustomListInformation(QObject* parent)
    : QObject(parent)
{
}

ParameterCustomListInformation::~ParameterCustomListInformation() = default;
