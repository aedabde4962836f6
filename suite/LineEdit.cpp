#include "LineEdit.h"

#include <QKeyEvent>

LineEdit::LineEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

LineEdit::~LineEdit() = default;

void LineEdit::keyPressEvent(QKeyEvent* event)
{
    const bool commit = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // QLineEdit emits returnPressed() only for acceptable input; a commit is
    // wanted regardless, so that the receiver can explain what is wrong.
    QLineEdit::keyPressEvent(event);
    if (commit)
        emit textCommited(text());
}
