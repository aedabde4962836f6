#include "ListEditRecorder.h"

#include "DoneUndoCommand.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "ParameterCustomListInformation.h"
#include "ParameterCustomListRepository.h"
#include "Project.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMap>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>

namespace {

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

// Coordinate -> element part ("[1/3]", empty for the whole parameter) of
// the entries of a snapshot.
QMap<QByteArray, QByteArray> entriesOf(const QByteArray& snapshot)
{
    QMap<QByteArray, QByteArray> entries;
    for (const QByteArray& text : ParameterCustomListRepository::snapshotEntries(snapshot)) {
        const int bracket = text.indexOf('[');
        entries.insert(bracket < 0 ? text : text.left(bracket), bracket < 0 ? QByteArray() : text.mid(bracket));
    }
    return entries;
}

QSet<QByteArray> elementsOf(const QByteArray& part)
{
    QSet<QByteArray> elements;
    for (const QByteArray& element : part.mid(1, part.size() - 2).split('/'))
        elements.insert(element);
    return elements;
}

// Whether the element part @p after selects less than @p before (an empty
// part is the whole parameter).
bool selectsLess(const QByteArray& before, const QByteArray& after)
{
    if (after.isEmpty())
        return false;
    if (before.isEmpty())
        return true;
    const QSet<QByteArray> kept = elementsOf(after);
    return kept != elementsOf(before) && elementsOf(before).contains(kept);
}

// What an edit did to the entries of one list, in words.
QString entriesEditText(const QString& list, const QByteArray& beforeSnapshot, const QByteArray& afterSnapshot, bool imported)
{
    const QMap<QByteArray, QByteArray> before = entriesOf(beforeSnapshot);
    const QMap<QByteArray, QByteArray> after = entriesOf(afterSnapshot);
    if (after.isEmpty() && before.size() > 1)
        return ListEditRecorder::tr("„%1“ geleert").arg(list);
    QStringList removed, added, less, more;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            removed.append(QString::fromUtf8(it.key()));
        else if (after.value(it.key()) != it.value())
            (selectsLess(it.value(), after.value(it.key())) ? less : more).append(QString::fromUtf8(it.key()));
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            added.append(QString::fromUtf8(it.key()));
    }
    if (imported && removed.isEmpty() && less.isEmpty())
        return ListEditRecorder::tr("Import in „%1“").arg(list);
    if (added.isEmpty() && more.isEmpty() && removed.size() + less.size() > 0) {
        if (removed.size() == 1 && less.isEmpty())
            return ListEditRecorder::tr("%1 aus „%2“ entfernt").arg(removed.first(), list);
        if (less.size() == 1 && removed.isEmpty())
            return ListEditRecorder::tr("Element von %1 aus „%2“ entfernt").arg(less.first(), list);
        return ListEditRecorder::tr("%n Einträge aus „%1“ entfernt", nullptr, removed.size() + less.size()).arg(list);
    }
    if (removed.isEmpty() && less.isEmpty() && added.size() + more.size() > 0) {
        if (added.size() == 1 && more.isEmpty())
            return ListEditRecorder::tr("%1 zu „%2“ hinzugefügt").arg(added.first(), list);
        if (more.size() == 1 && added.isEmpty())
            return ListEditRecorder::tr("Element von %1 zu „%2“ hinzugefügt").arg(more.first(), list);
        return ListEditRecorder::tr("%n Einträge zu „%1“ hinzugefügt", nullptr, added.size() + more.size()).arg(list);
    }
    return ListEditRecorder::tr("„%1“ geändert").arg(list);
}

} // namespace

class ListEditRecorderPrivate : public QObject
{
public:
    ListEditRecorderPrivate(ListEditRecorder* q, Project* project, QUndoStack* stack);

    enum ListSignal { NameChanged = 1, AxesChanged = 2, EntriesChanged = 4 };

    // A list as a step leaves it; an empty snapshot: the list does not exist.
    struct ListState
    {
        QByteArray snapshot;
        int position = -1;
        // What the snapshot's axis identifiers meant when it was taken.
        ParameterCustomListRepository::AxisNumbering numbering;
    };
    struct ListChange
    {
        QString identifier;
        ListState before;
        ListState after;
    };
    // A list as it was when last looked at.
    struct Known
    {
        ListState state;
        QString name;
    };

    bool eventFilter(QObject* watched, QEvent* event) override;
    void onRepositoryContentChanged();
    void onListNameChanged();
    void onListAxesChanged();
    void onListEntriesChanged();
    void onHostContentChanged();
    void follow(ParameterCustomListInformation* list);
    void markChanged(QObject* list, ListSignal signal);
    Known look(ParameterCustomListInformation* list, int position) const;
    void lookAtAll();
    // Pushes one step for what changed since the last one.
    void closeStep();
    // The name of the step, "Liste „Motor“ gelöscht"; @p previous: the lists before it.
    QString stepText(const QList<ListChange>& changes, const QHash<QString, Known>& previous, int edits,
                     bool imported) const;
    // Undo (back to the states before) or redo (to those after).
    void apply(const QList<ListChange>& changes, bool undo);

    ListEditRecorder* const q;
    QPointer<QUndoStack> stack;
    QTimer* stepTimer = nullptr;
    QHash<QString, Known> known;   // by list identifier
    QHash<QString, int> changed;   // ListSignal flags since the last step, by list identifier
    ParameterCustomListRepository::AxisNumbering numbering;
    bool hostChanged = false;
    // A file dialog closed since the user last acted outside a dialog: the
    // entries that come now are an import.
    bool fileChosen = false;
};

// The list edits of one user action, undone and redone together by putting
// the lists back as they were stored before or after.
class ListEditCommand : public DoneUndoCommand
{
public:
    using Change = ListEditRecorderPrivate::ListChange;

    ListEditCommand(ListEditRecorderPrivate* recorder, const QList<Change>& changes, const QString& text)
        : m_recorder(recorder)
        , m_changes(changes)
    {
        setText(text);
    }

private:
    void apply(bool undo) override
    {
        if (m_recorder)
            m_recorder->apply(m_changes, undo);
    }

    QPointer<ListEditRecorderPrivate> m_recorder;
    const QList<Change> m_changes;
};

ListEditRecorderPrivate::ListEditRecorderPrivate(ListEditRecorder* q, Project* project, QUndoStack* stack)
    : QObject(q)
    , q(q)
    , stack(stack)
    , stepTimer(new QTimer(this))
{
    stepTimer->setSingleShot(true);
    stepTimer->setInterval(0);
    connect(stepTimer, &QTimer::timeout, this, &ListEditRecorderPrivate::closeStep);
    ParameterCustomListRepository& lists = repository();
    connect(&lists, &ParameterCustomListRepository::repositoryContentChanged, this,
            &ListEditRecorderPrivate::onRepositoryContentChanged);
    connect(&lists, &ParameterCustomListRepository::repositoryHostContentChanged, this,
            &ListEditRecorderPrivate::onHostContentChanged);
    // After the lists of the project were read: connected after the binding
    // that reads them.
    connect(project, &Project::projectLoaded, this, &ListEditRecorderPrivate::lookAtAll);
    qApp->installEventFilter(this);
    lookAtAll();
}

bool ListEditRecorderPrivate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Hide:
        if (qobject_cast<QFileDialog*>(watched))
            fileChosen = true;
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Drop:
        // Answering a question about the file chosen is still the import.
        if (!QApplication::activeModalWidget())
            fileChosen = false;
        break;
    default:
        break;
    }
    return false;
}

void ListEditRecorderPrivate::onRepositoryContentChanged()
{
    // A list made now announces its first changes later, through the event
    // queue: following it from here misses none of them.
    for (ParameterCustomListInformation* list : repository().content()) {
        if (!known.contains(list->identifier()))
            follow(list);
    }
    stepTimer->start();
}

void ListEditRecorderPrivate::follow(ParameterCustomListInformation* list)
{
    connect(list, &ParameterCustomListInformation::listNameChanged, this, &ListEditRecorderPrivate::onListNameChanged,
            Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listAxesChanged, this, &ListEditRecorderPrivate::onListAxesChanged,
            Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listEntriesChanged, this, &ListEditRecorderPrivate::onListEntriesChanged,
            Qt::UniqueConnection);
}

void ListEditRecorderPrivate::onListNameChanged()
{
    markChanged(sender(), NameChanged);
}

void ListEditRecorderPrivate::onListAxesChanged()
{
    markChanged(sender(), AxesChanged);
}

void ListEditRecorderPrivate::onListEntriesChanged()
{
    markChanged(sender(), EntriesChanged);
}

void ListEditRecorderPrivate::markChanged(QObject* list, ListSignal signal)
{
    if (auto* information = qobject_cast<ParameterCustomListInformation*>(list)) {
        changed[information->identifier()] |= signal;
        stepTimer->start();
    }
}

void ListEditRecorderPrivate::onHostContentChanged()
{
    hostChanged = true;
    stepTimer->start();
}

ListEditRecorderPrivate::Known ListEditRecorderPrivate::look(ParameterCustomListInformation* list, int position) const
{
    Known result;
    result.state = {repository().listSnapshot(list), position, numbering};
    result.name = list->name();
    return result;
}

void ListEditRecorderPrivate::lookAtAll()
{
    stepTimer->stop();
    changed.clear();
    hostChanged = false;
    numbering = repository().axisNumbering();
    known.clear();
    const QList<ParameterCustomListInformation*> lists = repository().content();
    for (int i = 0; i < lists.size(); ++i) {
        follow(lists.at(i));
        known.insert(lists.at(i)->identifier(), look(lists.at(i), i));
    }
}

void ListEditRecorderPrivate::closeStep()
{
    const QHash<QString, int> signalled = changed;
    changed.clear();
    const bool hostWasChanged = hostChanged;
    hostChanged = false;
    if (hostWasChanged)
        numbering = repository().axisNumbering();

    QList<ListChange> changes;
    int editedFlags = 0;
    QHash<QString, Known> seen;
    const QList<ParameterCustomListInformation*> lists = repository().content();
    for (int i = 0; i < lists.size(); ++i) {
        ParameterCustomListInformation* list = lists.at(i);
        const QString identifier = list->identifier();
        const auto before = known.constFind(identifier);
        if (before == known.constEnd()) {
            const Known now = look(list, i);
            changes.append({identifier, {}, now.state});
            seen.insert(identifier, now);
            continue;
        }
        const int flags = signalled.value(identifier);
        // Controllers or axes of the project changed: the list follows them,
        // which is nothing of the user's doing in the list.
        const int edits = hostWasChanged ? flags & ~AxesChanged : flags;
        if (!flags) {
            seen.insert(identifier, *before);
            seen[identifier].state.position = i;
            continue;
        }
        const Known now = look(list, i);
        seen.insert(identifier, now);
        if (!edits || ParameterCustomListRepository::sameListContent(before->state.snapshot, now.state.snapshot))
            continue;
        editedFlags |= edits;
        changes.append({identifier, before->state, now.state});
    }
    for (auto it = known.cbegin(); it != known.cend(); ++it) {
        if (!seen.contains(it.key()))
            changes.append({it.key(), it->state, {}});
    }
    const QHash<QString, Known> previous = known;
    known = seen;
    const bool imported = fileChosen;
    fileChosen = false;
    if (!changes.isEmpty() && stack)
        stack->push(new ListEditCommand(this, changes, stepText(changes, previous, editedFlags, imported)));
}

QString ListEditRecorderPrivate::stepText(const QList<ListChange>& changes, const QHash<QString, Known>& previous,
                                   int edits, bool imported) const
{
    if (changes.size() > 1)
        return ListEditRecorder::tr("%n Listen geändert", nullptr, changes.size());
    const ListChange& change = changes.first();
    const Known was = previous.value(change.identifier);
    const Known now = known.value(change.identifier);
    if (change.before.snapshot.isEmpty()) {
        // Only an import makes a list with entries in one action.
        if (ParameterCustomListRepository::snapshotEntries(now.state.snapshot).isEmpty())
            return ListEditRecorder::tr("Liste „%1“ angelegt").arg(now.name);
        return ListEditRecorder::tr("Liste „%1“ importiert").arg(now.name);
    }
    if (change.after.snapshot.isEmpty())
        return ListEditRecorder::tr("Liste „%1“ gelöscht").arg(was.name);
    if (was.name != now.name)
        return ListEditRecorder::tr("„%1“ umbenannt in „%2“").arg(was.name, now.name);
    if (edits & AxesChanged)
        return ListEditRecorder::tr("Achsen von „%1“ geändert").arg(now.name);
    return entriesEditText(now.name, was.state.snapshot, now.state.snapshot, imported);
}

void ListEditRecorderPrivate::apply(const QList<ListChange>& changes, bool undo)
{
    QList<QPair<QString, const ListState*>> targets;
    for (const ListChange& change : changes)
        targets.append({change.identifier, undo ? &change.before : &change.after});
    // Lists go first, then come back from the front: each lands where it was.
    std::stable_sort(targets.begin(), targets.end(), [](const auto& a, const auto& b) {
        return (a.second->snapshot.isEmpty() ? -1 : a.second->position) < (b.second->snapshot.isEmpty() ? -1 : b.second->position);
    });
    QStringList problems;
    for (const auto& target : qAsConst(targets)) {
        const ListState& state = *target.second;
        if (state.snapshot.isEmpty()) {
            repository().deleteList(repository().list(target.first));
            continue;
        }
        QString problem;
        if (!repository().restoreList(state.snapshot, state.position, state.numbering, &problem))
            problems.append(problem);
    }
    // What the lists announce of this, later, is no edit of the user's.
    lookAtAll();
    if (!problems.isEmpty())
        emit q->undoNotice(problems.join(QLatin1Char(' ')));
}

ListEditRecorder::ListEditRecorder(Project* project, QUndoStack* stack, QObject* parent)
    : QObject(parent)
    , d(new ListEditRecorderPrivate(this, project, stack))
{
}

ListEditRecorder::~ListEditRecorder() = default;
