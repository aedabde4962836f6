#include "EntryStrategy.h"

EntryStrategy::EntryStrategy(ParameterCustomListEntryPrivate* entry)
    : d(entry)
{
}

EntryStrategy::~EntryStrategy() = default;

EntryCell EntryStrategy::cell(int axis, quint16 element)
{
    EntryCell cell;
    cell.available = isAvailable(axis, element);
    if (!cell.available)
        return cell;
    cell.valueText = valueText(axis, element);
    cell.stateIcon = stateIcon(axis, element, cell.valueText);
    cell.active = isValueActive(axis, element);
    return cell;
}

EntryCell EntryStrategy::cell(int axis)
{
    EntryCell cell;
    cell.available = isAvailable(axis);
    if (!cell.available)
        return cell;
    cell.valueText = valueText(axis);
    cell.stateIcon = stateIcon(axis, cell.valueText);
    cell.active = isValueActive(axis);
    return cell;
}
