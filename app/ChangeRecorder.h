#pragma once

#include "ParameterAddress.h"
#include "ParameterProvider.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class ChangeJournal;
class Project;
class QTimer;
class QWidget;
class QUndoStack;
class ValueWritesCommand;

/**
 * Follows every value write of the project's controllers: each goes into the
 * change journal with where it came from and how it ended, and the writes of
 * one user action (one turn of the event loop) become one step of the
 * project's undo stack. Undoing writes the values before back through the
 * same checks, unless a value has changed since; then that value is left
 * alone and undoNotice() says so.
 *
 * The edits of the variable parameter lists are steps of the same stack
 * (ListEditRecorder, kept here); an action that both writes values and
 * edits lists leaves two adjacent steps.
 */
class ChangeRecorder : public QObject
{
    Q_OBJECT

public:
    ChangeRecorder(Project* project, ChangeJournal* journal, QObject* parent = nullptr);
    ~ChangeRecorder() override;

    QUndoStack* undoStack() const;

    /// Where the writes that follow come from, instead of the window that has
    /// the focus; empty to look at the focus again.
    void setSource(const QString& source);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    /// Something undo or redo could not do, in words for the user.
    void undoNotice(const QString& message);

private slots:
    void followControllers();
    void onWriteStarted(ParameterAddress address, QString oldRaw, QString newRaw);
    void onWriteFinished(ParameterAddress address, QString newRaw, ParameterProvider::WriteOutcome outcome, QString reason);
    void closeStep();

private:
    friend class ValueWritesCommand;
    QString currentSource(ParameterProvider* provider) const;
    // Writes values back (undo) or again (redo); the ones that changed since are named in the result.
    QStringList apply(ValueWritesCommand* command, bool undo);

    QPointer<Project> m_project;
    QPointer<ChangeJournal> m_journal;
    QUndoStack* m_stack = nullptr;
    QTimer* m_stepTimer = nullptr;
    ValueWritesCommand* m_openStep = nullptr;
    QString m_source;
    // Where the user last pressed a key or a button: the window a write comes from.
    QPointer<QWidget> m_lastInput;
    // Journal entries of writes still waiting for their end, by provider and address.
    QHash<QPair<ParameterProvider*, QString>, int> m_pending;
};
