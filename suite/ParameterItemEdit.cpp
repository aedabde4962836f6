#include "ParameterItemEdit.h"

#include "ParameterSetup.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace {

bool isModifierOnly(const QKeyEvent* event)
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

} // namespace

ParameterItemEdit::ParameterItemEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
}

ParameterItemEdit::~ParameterItemEdit() = default;

void ParameterItemEdit::setParameterSetup(ParameterSetup* setup)
{
    m_setup = setup;
}

void ParameterItemEdit::setLivingSpace(eLivingSpace livingSpace)
{
    m_livingSpace = livingSpace;
}

void ParameterItemEdit::setElementIndex(quint16 element)
{
    m_element = element;
}

ParameterSetup* ParameterItemEdit::parameterSetup() const
{
    return m_setup;
}

eLivingSpace ParameterItemEdit::livingSpace() const
{
    return m_livingSpace;
}

quint16 ParameterItemEdit::elementIndex() const
{
    return m_element;
}

bool ParameterItemEdit::isEditable() const
{
    return m_editable;
}

bool ParameterItemEdit::isFinished() const
{
    return m_finished;
}

bool ParameterItemEdit::hasValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element)
{
    if (!setup)
        return false;
    const ParameterElementDescription* description = setup->element(element);
    if (!description || !description->hasValue)
        return false;
    return setup->isGlobal() || setup->isDefinedIn(livingSpace);
}

bool ParameterItemEdit::canWriteValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element)
{
    return hasValue(setup, livingSpace, element) && setup->isWritable(livingSpace, element);
}

void ParameterItemEdit::initialize()
{
    m_finished = false;
    m_editable = canWriteValue(m_setup, m_livingSpace, m_element);
    m_initialText = hasValue(m_setup, m_livingSpace, m_element)
        ? m_setup->valueText(m_livingSpace, m_element, false)
        : QString();
    setText(m_initialText);
    setReadOnly(!m_editable);
    const bool limitedText = m_setup && m_setup->valueKind(m_element) == ValueKindText
        && m_setup->maximum(m_element) > 0;
    setMaxLength(limitedText ? int(m_setup->maximum(m_element)) : 32767);
    selectAll();
    setFocus(Qt::OtherFocusReason);
}

void ParameterItemEdit::keyPressEvent(QKeyEvent* event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    if (!m_editable) {
        // Nothing to edit: whatever the user types means "done here".
        event->accept();
        if (!isModifierOnly(event))
            finish();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (commit())
            finish();
        return;
    case Qt::Key_Escape:
        event->accept();
        finish();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

bool ParameterItemEdit::event(QEvent* event)
{
    // Keep Escape and Enter away from shortcuts and default buttons of the
    // window around the editor; they belong to the edit.
    if (event->type() == QEvent::ShortcutOverride && !m_finished) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->key() == Qt::Key_Escape || keyEvent->key() == Qt::Key_Return
            || keyEvent->key() == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void ParameterItemEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu or a completer popup takes the focus only for a moment.
    if (m_finished || event->reason() == Qt::PopupFocusReason)
        return;
    if (m_editable && m_setup && text() != m_initialText) {
        QString refusal;
        m_setup->setValueText(m_livingSpace, m_element, text(), &refusal);
        // A refused text is dropped silently: the user has already moved on.
    }
    finish();
}

bool ParameterItemEdit::commit()
{
    if (!m_setup)
        return true;
    if (text() == m_initialText)
        return true;
    QString refusal;
    if (m_setup->setValueText(m_livingSpace, m_element, text(), &refusal))
        return true;
    if (refusal.isEmpty())
        refusal = tr("Der Wert wurde nicht übernommen.");
    emit valueRefused(refusal);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal, this);
    selectAll();
    return false;
}

void ParameterItemEdit::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    QToolTip::hideText();
    emit deleteMe();
}
