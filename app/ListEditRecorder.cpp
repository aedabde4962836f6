#include "ListEditRecorder.h"

#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "ParameterCustomListInformation.h"
#include "Project.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMap>
#include <QSet>
#include <QTimer>
#include <QUndoCommand>
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

// The list edits of one user action, undone and redone together by putting
// the lists back as they were stored before or after.
class ListEditCommand : public QUndoCommand
{
public:
    struct State
    {
        QByteArray snapshot;   // empty: the list does not exist
        int position = -1;
        ParameterCustomListRepository::AxisNumbering numbering;
    };
    struct Change
    {
        QString identifier;
        State before;
        State after;
    };

    ListEditCommand(ListEditRecorder* recorder, const QList<Change>& changes, const QString& text)
        : m_recorder(recorder)
        , changes(changes)
    {
        setText(text);
    }

    void undo() override
    {
        if (m_recorder)
            m_recorder->apply(this, true);
    }
    void redo() override
    {
        // Pushed once the edit is done already.
        if (!m_pushed) {
            m_pushed = true;
            return;
        }
        if (m_recorder)
            m_recorder->apply(this, false);
    }

private:
    QPointer<ListEditRecorder> m_recorder;
    bool m_pushed = false;

public:
    const QList<Change> changes;
};

ListEditRecorder::ListEditRecorder(Project* project, QUndoStack* stack, QObject* parent)
    : QObject(parent)
    , m_project(project)
    , m_stack(stack)
    , m_stepTimer(new QTimer(this))
{
    m_stepTimer->setSingleShot(true);
    m_stepTimer->setInterval(0);
    connect(m_stepTimer, &QTimer::timeout, this, &ListEditRecorder::closeStep);
    ParameterCustomListRepository& lists = repository();
    connect(&lists, &ParameterCustomListRepository::repositoryContentChanged, this,
            &ListEditRecorder::onRepositoryContentChanged);
    connect(&lists, &ParameterCustomListRepository::repositoryHostContentChanged, this,
            &ListEditRecorder::onHostContentChanged);
    // After the lists of the project were read: connected after the binding
    // that reads them.
    connect(project, &Project::projectLoaded, this, &ListEditRecorder::onProjectLoaded);
    qApp->installEventFilter(this);
    lookAtAll();
}

ListEditRecorder::~ListEditRecorder() = default;

bool ListEditRecorder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Hide:
        if (qobject_cast<QFileDialog*>(watched))
            m_fileChosen = true;
        break;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Drop:
        // Answering a question about the file chosen is still the import.
        if (!QApplication::activeModalWidget())
            m_fileChosen = false;
        break;
    default:
        break;
    }
    return false;
}

void ListEditRecorder::onRepositoryContentChanged()
{
    // A list made now announces its first changes later, through the event
    // queue: following it from here misses none of them.
    for (ParameterCustomListInformation* list : repository().content()) {
        if (!m_known.contains(list->identifier()))
            follow(list);
    }
    m_stepTimer->start();
}

void ListEditRecorder::follow(ParameterCustomListInformation* list)
{
    connect(list, &ParameterCustomListInformation::listNameChanged, this, &ListEditRecorder::onListNameChanged,
            Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listAxesChanged, this, &ListEditRecorder::onListAxesChanged,
            Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listEntriesChanged, this, &ListEditRecorder::onListEntriesChanged,
            Qt::UniqueConnection);
}

void ListEditRecorder::onListNameChanged()
{
    markChanged(sender(), NameChanged);
}

void ListEditRecorder::onListAxesChanged()
{
    markChanged(sender(), AxesChanged);
}

void ListEditRecorder::onListEntriesChanged()
{
    markChanged(sender(), EntriesChanged);
}

void ListEditRecorder::markChanged(QObject* list, ListChange change)
{
    if (auto* information = qobject_cast<ParameterCustomListInformation*>(list)) {
        m_changed[information->identifier()] |= change;
        m_stepTimer->start();
    }
}

void ListEditRecorder::onHostContentChanged()
{
    m_hostChanged = true;
    m_stepTimer->start();
}

void ListEditRecorder::onProjectLoaded()
{
    lookAtAll();
}

ListEditRecorder::Known ListEditRecorder::look(ParameterCustomListInformation* list, int position) const
{
    Known known;
    known.snapshot = repository().listSnapshot(list);
    known.position = position;
    known.numbering = m_numbering;
    known.name = list->name();
    return known;
}

void ListEditRecorder::lookAtAll()
{
    m_stepTimer->stop();
    m_changed.clear();
    m_hostChanged = false;
    m_numbering = repository().axisNumbering();
    m_known.clear();
    const QList<ParameterCustomListInformation*> lists = repository().content();
    for (int i = 0; i < lists.size(); ++i) {
        follow(lists.at(i));
        m_known.insert(lists.at(i)->identifier(), look(lists.at(i), i));
    }
}

void ListEditRecorder::closeStep()
{
    const QHash<QString, int> changed = m_changed;
    m_changed.clear();
    const bool hostChanged = m_hostChanged;
    m_hostChanged = false;
    if (hostChanged)
        m_numbering = repository().axisNumbering();

    QList<ListEditCommand::Change> changes;
    int editedFlags = 0;
    QHash<QString, Known> known;
    const QList<ParameterCustomListInformation*> lists = repository().content();
    for (int i = 0; i < lists.size(); ++i) {
        ParameterCustomListInformation* list = lists.at(i);
        const QString identifier = list->identifier();
        const auto before = m_known.constFind(identifier);
        if (before == m_known.constEnd()) {
            const Known now = look(list, i);
            changes.append({identifier, {}, {now.snapshot, i, now.numbering}});
            known.insert(identifier, now);
            continue;
        }
        const int flags = changed.value(identifier);
        // Controllers or axes of the project changed: the list follows them,
        // which is nothing of the user's doing in the list.
        const int edits = hostChanged ? flags & ~AxesChanged : flags;
        if (!flags) {
            known.insert(identifier, *before);
            known[identifier].position = i;
            continue;
        }
        const Known now = look(list, i);
        known.insert(identifier, now);
        if (!edits || ParameterCustomListRepository::sameListContent(before->snapshot, now.snapshot))
            continue;
        editedFlags |= edits;
        changes.append({identifier, {before->snapshot, before->position, before->numbering}, {now.snapshot, i, now.numbering}});
    }
    for (auto it = m_known.cbegin(); it != m_known.cend(); ++it) {
        if (!known.contains(it.key()))
            changes.append({it.key(), {it->snapshot, it->position, it->numbering}, {}});
    }
    const QHash<QString, Known> previous = m_known;
    m_known = known;
    const bool imported = m_fileChosen;
    m_fileChosen = false;
    if (changes.isEmpty() || !m_stack)
        return;

    QString text;
    if (changes.size() > 1) {
        text = tr("%n Listen geändert", nullptr, changes.size());
    } else {
        const ListEditCommand::Change& change = changes.first();
        if (change.before.snapshot.isEmpty()) {
            const Known& now = m_known[change.identifier];
            text = ParameterCustomListRepository::snapshotEntries(now.snapshot).isEmpty() ? tr("Liste „%1“ angelegt").arg(now.name)
                                                                                          : tr("Liste „%1“ importiert").arg(now.name);
        } else if (change.after.snapshot.isEmpty()) {
            text = tr("Liste „%1“ gelöscht").arg(previous[change.identifier].name);
        } else {
            const Known& was = previous[change.identifier];
            const Known& now = m_known[change.identifier];
            if (was.name != now.name)
                text = tr("„%1“ umbenannt in „%2“").arg(was.name, now.name);
            else if (editedFlags & AxesChanged)
                text = tr("Achsen von „%1“ geändert").arg(now.name);
            else
                text = entriesEditText(now.name, was.snapshot, now.snapshot, imported);
        }
    }
    m_stack->push(new ListEditCommand(this, changes, text));
}

void ListEditRecorder::apply(ListEditCommand* command, bool undo)
{
    QList<QPair<QString, const ListEditCommand::State*>> targets;
    for (const ListEditCommand::Change& change : command->changes)
        targets.append({change.identifier, undo ? &change.before : &change.after});
    // Lists go first, then come back from the front: each lands where it was.
    std::stable_sort(targets.begin(), targets.end(), [](const auto& a, const auto& b) {
        return (a.second->snapshot.isEmpty() ? -1 : a.second->position) < (b.second->snapshot.isEmpty() ? -1 : b.second->position);
    });
    QStringList problems;
    for (const auto& target : qAsConst(targets)) {
        const ListEditCommand::State& state = *target.second;
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
        emit undoNotice(problems.join(QLatin1Char(' ')));
}
