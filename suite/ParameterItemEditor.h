#pragma once

#include "KxSuiteGlobal.h"

#include <QPointer>

class ParameterSetup;
class QEvent;
class QKeyEvent;

/// What the in-place editors of one parameter value have in common: the
/// value they edit (set-up, living space and element) and the state of the
/// edit. The editors' own classes add the widget.
class KXSUITE_EXPORT ParameterItemEditor
{
public:
    ParameterItemEditor();
    virtual ~ParameterItemEditor();

    void setParameterSetup(ParameterSetup* setup);
    void setLivingSpace(eLivingSpace livingSpace);
    void setElementIndex(quint16 element);

    ParameterSetup* parameterSetup() const;
    eLivingSpace livingSpace() const;
    quint16 elementIndex() const;
    /// initialize() found a value that can be written.
    bool isEditable() const;
    /// deleteMe() has been emitted.
    bool isFinished() const;

    /// The set-up holds a value for that living space and element: the
    /// element exists and carries a value, and the parameter is global or
    /// defined in the living space.
    static bool hasValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element);
    /// hasValue() and the set-up lets it be written at the moment.
    static bool canWriteValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element);

protected:
    /// A key that only modifies others: it does not end an edit that has
    /// nothing to edit.
    static bool isModifierOnly(const QKeyEvent* event);
    /// Escape, Enter and Return belong to a running edit, not to shortcuts
    /// and default buttons of the window around it; true when `event` is
    /// such a shortcut override, which is then accepted.
    bool claimsShortcut(QEvent* event) const;

    QPointer<ParameterSetup> m_setup;
    eLivingSpace m_livingSpace = LivingSpaceNone;
    quint16 m_element = 0;
    bool m_editable = false;
    bool m_finished = false;
};
