#include "ParameterItemEditor.h"

#include "ParameterSetup.h"

#include <QKeyEvent>

ParameterItemEditor::ParameterItemEditor() = default;

ParameterItemEditor::~ParameterItemEditor() = default;

void ParameterItemEditor::setParameterSetup(ParameterSetup* setup)
{
    m_setup = setup;
}

void ParameterItemEditor::setLivingSpace(eLivingSpace livingSpace)
{
    m_livingSpace = livingSpace;
}

void ParameterItemEditor::setElementIndex(quint16 element)
{
    m_element = element;
}

ParameterSetup* ParameterItemEditor::parameterSetup() const
{
    return m_setup;
}

eLivingSpace ParameterItemEditor::livingSpace() const
{
    return m_livingSpace;
}

quint16 ParameterItemEditor::elementIndex() const
{
    return m_element;
}

bool ParameterItemEditor::isEditable() const
{
    return m_editable;
}

bool ParameterItemEditor::isFinished() const
{
    return m_finished;
}

bool ParameterItemEditor::hasValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element)
{
    if (!setup)
        return false;
    const ParameterElementDescription* description = setup->element(element);
    if (!description || !description->hasValue)
        return false;
    return setup->isGlobal() || setup->isDefinedIn(livingSpace);
}

bool ParameterItemEditor::canWriteValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element)
{
    return hasValue(setup, livingSpace, element) && setup->isWritable(livingSpace, element);
}

bool ParameterItemEditor::isModifierOnly(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return true;
    default:
        return false;
    }
}

bool ParameterItemEditor::claimsShortcut(QEvent* event) const
{
    if (event->type() != QEvent::ShortcutOverride || m_finished)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Escape && key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    event->accept();
    return true;
}
