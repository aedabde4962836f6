#pragma once

// Value rules shared by the set-ups and the description reader, so that a
// description accepts exactly the values a set-up accepts later on.

#include "ParameterDescription.h"

#include <QList>
#include <QString>

class DriveController;

namespace KxParameterValues {

/// Empty when `text` is a valid value of the element (writability aside) and
/// then `canonical` receives its raw form; otherwise the reason in German.
QString check(const ParameterElementDescription& element, const QString& text, QString* canonical);

/// The raw value a new device holds: the description's default when it is
/// valid, otherwise the kind's natural default (minimum, first choice, off, "").
QString defaultValue(const ParameterElementDescription& element);
/// The raw factory reference; the default when the description has none or an invalid one.
QString referenceValue(const ParameterElementDescription& element);

/// The canonical default and reference of a description element: settled
/// ones when the element has them, otherwise worked out as above.
QString canonicalDefault(const ParameterElementDescription& element);
QString canonicalReference(const ParameterElementDescription& element);
/// Settles the canonical values of every element that carries a value and
/// drops the capacity slack of its texts. For descriptions about to be shared.
void settle(ParameterDescription& description);
/// Drops the capacity slack of a text that is going to be kept for long.
void dropSlack(QString& text);

/// Moves whenever the axes of any controller change (added, removed, deleted)
/// or a provider goes away: whether a parameter is defined in a living space
/// may be remembered as long as it stands still.
quint64 axesGeneration();
void axesChanged();

/// The text shown for a raw value: number with decimals and unit, choice name
/// in the active language, switch state; free text as is.
QString displayText(const ParameterElementDescription& element, const QString& raw);

/// Selection list of the element; "Aus"/"Ein" for switches, empty for others.
QList<ParameterChoice> choices(const ParameterElementDescription& element);

/// Whether a per-axis or global parameter has values in the living space;
/// `controller` may be null (a device of any axis count).
bool isDefinedIn(const ParameterDescription& description, eLivingSpace livingSpace, const DriveController* controller);

/// The element of that index, null when the description has none.
const ParameterElementDescription* findElement(const ParameterDescription& description, quint16 index);

/// A number in the raw form of an element with `decimals` decimals.
QString formatNumber(double value, int decimals);

} // namespace KxParameterValues
