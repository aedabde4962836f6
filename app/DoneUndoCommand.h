#pragma once

#include <QUndoCommand>

// A step of the project's undo stack that is pushed once its action is done:
// the stack's redo() on pushing must not do it a second time.
class DoneUndoCommand : public QUndoCommand
{
public:
    void undo() final { apply(true); }
    void redo() final
    {
        if (!m_pushed) {
            m_pushed = true;
            return;
        }
        apply(false);
    }

protected:
    // Back to the state before the action (undo) or to the one after it.
    virtual void apply(bool undo) = 0;

private:
    bool m_pushed = false;
};
