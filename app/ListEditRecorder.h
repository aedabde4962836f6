#pragma once

#include "ParameterCustomListRepository.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class ListEditCommand;
class ParameterCustomListInformation;
class Project;
class QTimer;
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
    ListEditRecorder(Project* project, QUndoStack* stack, QObject* parent = nullptr);
    ~ListEditRecorder() override;

signals:
    /// Something undo or redo could not do, in words for the user.
    void undoNotice(const QString& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void onRepositoryContentChanged();
    void onListNameChanged();
    void onListAxesChanged();
    void onListEntriesChanged();
    void onHostContentChanged();
    void onProjectLoaded();
    void closeStep();

private:
    friend class ListEditCommand;

    enum ListChange { NameChanged = 1, AxesChanged = 2, EntriesChanged = 4 };

    // A list as it was when last looked at.
    struct Known
    {
        QByteArray snapshot;
        int position = -1;
        // What the snapshot's axis identifiers meant when it was taken.
        ParameterCustomListRepository::AxisNumbering numbering;
        QString name;
    };

    void follow(ParameterCustomListInformation* list);
    void markChanged(QObject* list, ListChange change);
    Known look(ParameterCustomListInformation* list, int position) const;
    void lookAtAll();
    // Undo (back to the states before) or redo (to those after).
    void apply(ListEditCommand* command, bool undo);

    QPointer<Project> m_project;
    QPointer<QUndoStack> m_stack;
    QTimer* m_stepTimer = nullptr;
    QHash<QString, Known> m_known;   // by list identifier
    QHash<QString, int> m_changed;   // ListChange flags since the last step, by list identifier
    ParameterCustomListRepository::AxisNumbering m_numbering;
    bool m_hostChanged = false;
    // A file dialog closed since the user last acted outside a dialog: the
    // entries that come now are an import.
    bool m_fileChosen = false;
};
