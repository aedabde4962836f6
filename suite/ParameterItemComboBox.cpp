#include "ParameterItemComboBox.h"

#include "ParameterSetup.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>

ParameterItemComboBox::ParameterItemComboBox(QWidget* parent)
    : QComboBox(parent)
{
    setFrame(false);
    connect(this, QOverload<int>::of(&QComboBox::activated), this, &ParameterItemComboBox::onActivated);
    view()->installEventFilter(this);
}

ParameterItemComboBox::~ParameterItemComboBox() = default;

void ParameterItemComboBox::initialize()
{
    m_finished = false;
    m_editable = canWriteValue(m_setup, m_livingSpace, m_element);
    const QSignalBlocker blocker(this);
    clear();
    m_initialIndex = -1;
    if (!hasValue(m_setup, m_livingSpace, m_element)) {
        m_editable = false;
    } else if (!m_editable) {
        addItem(m_setup->valueText(m_livingSpace, m_element, true));
        m_initialIndex = 0;
    } else {
        bool numeric = false;
        const qint64 current = m_setup->valueText(m_livingSpace, m_element, false).toLongLong(&numeric);
        const QList<ParameterChoice> choices = m_setup->choices(m_element);
        for (const ParameterChoice& choice : choices) {
            if (numeric && choice.value == current)
                m_initialIndex = count();
            addItem(choice.text.longText(), QVariant::fromValue(choice.value));
        }
    }
    setCurrentIndex(m_initialIndex);
    setFocus(Qt::OtherFocusReason);
}

void ParameterItemComboBox::showPopup()
{
    if (m_finished || !m_editable)
        return;
    QComboBox::showPopup();
}

void ParameterItemComboBox::onActivated(int index)
{
    if (m_finished || !m_editable || m_browsing)
        return;
    if (!m_setup) {
        finish();
        return;
    }
    if (index == m_initialIndex) {
        finish();
        return;
    }
    const QString raw = QString::number(itemData(index).toLongLong());
    QString refusal;
    if (m_setup->setValueText(m_livingSpace, m_element, raw, &refusal)) {
        finish();
        return;
    }
    if (refusal.isEmpty())
        refusal = tr("Der Wert wurde nicht übernommen.");
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(m_initialIndex);
    }
    emit valueRefused(refusal);
    QToolTip::showText(mapToGlobal(QPoint(0, height())), refusal, this);
}

void ParameterItemComboBox::keyPressEvent(QKeyEvent* event)
{
    if (m_finished) {
        event->accept();
        return;
    }
    if (!m_editable || event->key() == Qt::Key_Escape) {
        event->accept();
        if (!isModifierOnly(event))
            finish();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Confirms the entry shown, which may be the unchanged current one.
        event->accept();
        onActivated(currentIndex());
        return;
    }
    // QComboBox treats arrow keys on the closed box as a pick; a value that
    // may go straight to a running drive is only written on an explicit pick.
    m_browsing = true;
    QComboBox::keyPressEvent(event);
    m_browsing = false;
}

void ParameterItemComboBox::wheelEvent(QWheelEvent* event)
{
    // Scrolling the surrounding list must not change a value on the way.
    event->ignore();
}

bool ParameterItemComboBox::event(QEvent* event)
{
    if (claimsShortcut(event))
        return true;
    return QComboBox::event(event);
}

bool ParameterItemComboBox::eventFilter(QObject* watched, QEvent* event)
{
    // Escape in the open list ends the whole edit, not just the list.
    if (watched == view() && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !m_finished) {
        hidePopup();
        finish();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void ParameterItemComboBox::focusOutEvent(QFocusEvent* event)
{
    QComboBox::focusOutEvent(event);
    // The open selection list takes the focus while the edit goes on.
    if (m_finished || event->reason() == Qt::PopupFocusReason || view()->isVisible())
        return;
    finish();
}

void ParameterItemComboBox::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    QToolTip::hideText();
    emit deleteMe();
}
