#include "ParameterItemEdit.h"

#include "ParameterSetup.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolTip>

ParameterItemEdit::ParameterItemEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
}

ParameterItemEdit::~ParameterItemEdit() = default;

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
    if (claimsShortcut(event))
        return true;
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
