#include "EntryStrategy.h"

EntryStrategy::EntryStrategy(ParameterCustomListEntryPrivate* entry)
    : d(entry)
{
}

EntryStrategy::~EntryStrategy() = default;
