#pragma once

#include <QObject>
#include <QString>

class ListEditRecorderPrivate;
class Project;
class QUndoStack;

/**
 * Makes the edits of the project's variable parameter lists undoable on the
 * project's undo stack: entries and elements added or removed, a list
 * cleared or imported into, its axes chosen, lists created, renamed and
 * deleted. What changes the lists in one turn of the event loop (one user
 * action) is one step, holding the stored form of each list it touched,
 * before and after.
 *
 * The lists themselves ask no questions before they delete or clear
 * anything; this is the safety net around them. Opening a project or making
 * a new one takes its lists as they come, without a step.
 */
class ListEditRecorder : public QObject
{
    Q_OBJECT

public:
    /// Follows the lists of the repository from now on, taking the lists there
    /// now as they are; the steps go onto @p stack.
    ListEditRecorder(Project* project, QUndoStack* stack, QObject* parent = nullptr);
    ~ListEditRecorder() override;

signals:
    /// Something undo or redo could not do, in words for the user.
    void undoNotice(const QString& message);

private:
    friend class ListEditRecorderPrivate;
    ListEditRecorderPrivate* const d;   // a child of this object
};
