#include "ChangeRecorder.h"

#include "AxisCompareView.h"
#include "ChangeJournal.h"
#include "DoneUndoCommand.h"
#include "ListEditRecorder.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "ParameterSetup.h"
#include "ParameterView.h"
#include "Project.h"
#include "ProjectHost.h"

#include <QApplication>
#include <QEvent>
#include <QSet>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

namespace {

QString addressText(ParameterSetup* setup, const ParameterAddress& address)
{
    QString text = address.coordinate().toText();
    if (setup && (setup->isRecord() || setup->elementCount() > 1))
        text += QStringLiteral("[%1]").arg(address.element());
    return text;
}

QString parameterName(ParameterSetup* setup, const ParameterAddress& address)
{
    if (!setup)
        return QString();
    QString name = setup->parameterText().longText();
    if (setup->isRecord() || setup->elementCount() > 1) {
        const QString element = setup->elementText(address.element()).longText();
        if (!element.isEmpty() && element != name)
            name += QStringLiteral(" – ") + element;
    }
    return name;
}

// A list window's title names its list, in the language it was made in: the
// name is what the title's pattern leaves.
QString listNameInTitle(const QString& title)
{
    // The list window's own caption (spelled so there), looked up at run time.
    static const char* const caption = "Variable Pararameterliste - %1";
    const QString pattern = QCoreApplication::translate("ParameterCustomListWidget", caption);
    const int at = pattern.indexOf(QLatin1String("%1"));
    if (at < 0)
        return title;
    const QString prefix = pattern.left(at);
    const QString suffix = pattern.mid(at + 2);
    if (title.size() < prefix.size() + suffix.size() || !title.startsWith(prefix) || !title.endsWith(suffix))
        return title;
    return title.mid(prefix.size(), title.size() - prefix.size() - suffix.size());
}

} // namespace

// The writes of one user action, undone and redone together.
class ValueWritesCommand : public DoneUndoCommand
{
public:
    struct Write
    {
        QPointer<ParameterProvider> provider;
        ParameterAddress address;
        QString oldRaw;
        QString newRaw;
        bool done = false;
    };

    explicit ValueWritesCommand(ChangeRecorder* recorder)
        : m_recorder(recorder)
    {
    }


    // "A10 auf 3 Achsen" for one parameter, "5 Werte" for several.
    void name()
    {
        QSet<QString> parameters;
        QSet<QPair<ParameterProvider*, int>> axes;
        for (const Write& write : qAsConst(writes)) {
            parameters.insert(write.address.coordinate().toText());
            axes.insert({write.provider.data(), int(write.address.livingSpace())});
        }
        if (parameters.size() == 1 && writes.size() == axes.size())
            setText(axes.size() == 1 ? ChangeRecorder::tr("%1 auf 1 Achse").arg(*parameters.begin())
                                     : ChangeRecorder::tr("%1 auf %2 Achsen").arg(*parameters.begin()).arg(axes.size()));
        else
            setText(ChangeRecorder::tr("%n Werte", nullptr, writes.size()));
    }

    QList<Write> writes;

private:
    void apply(bool undo) override { report(m_recorder->apply(this, undo)); }

    void report(const QStringList& changed)
    {
        if (!changed.isEmpty())
            emit m_recorder->undoNotice(ChangeRecorder::tr("Seither geändert und daher nicht angetastet: %1").arg(changed.join(QStringLiteral(", "))));
    }

    ChangeRecorder* m_recorder;
};

ChangeRecorder::ChangeRecorder(Project* project, ChangeJournal* journal, QObject* parent)
    : QObject(parent)
    , m_project(project)
    , m_journal(journal)
    , m_stack(new QUndoStack(this))
{
    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    m_stepTimer->setInterval(0);
    connect(m_stepTimer, &QTimer::timeout, this, &ChangeRecorder::closeStep);
    connect(project->host(), &ProjectHost::hostContentChanged, this, &ChangeRecorder::followControllers);
    // Another project's values are not this one's to undo.
    connect(project, &Project::projectReplaced, m_stack, &QUndoStack::clear);
    auto* listEdits = new ListEditRecorder(project, m_stack, this);
    connect(listEdits, &ListEditRecorder::undoNotice, this, &ChangeRecorder::undoNotice);
    followControllers();
    qApp->installEventFilter(this);
}

bool ChangeRecorder::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Drop:
        if (watched->isWidgetType())
            m_lastInput = static_cast<QWidget*>(watched);
        break;
    default:
        break;
    }
    return false;
}

ChangeRecorder::~ChangeRecorder()
{
    delete m_openStep;
}

QUndoStack* ChangeRecorder::undoStack() const
{
    return m_stack;
}

void ChangeRecorder::setSource(const QString& source)
{
    m_source = source;
}

void ChangeRecorder::followControllers()
{
    if (!m_project)
        return;
    for (DriveController* controller : m_project->host()->driveControllers()) {
        ParameterProvider* provider = controller ? controller->parameterProvider() : nullptr;
        if (!provider)
            continue;
        connect(provider, &ParameterProvider::valueWriteStarted, this, &ChangeRecorder::onWriteStarted, Qt::UniqueConnection);
        connect(provider, &ParameterProvider::valueWriteFinished, this, &ChangeRecorder::onWriteFinished, Qt::UniqueConnection);
    }
}

// The window the user works in tells where a write comes from.
QString ChangeRecorder::currentSource(ParameterProvider* provider) const
{
    if (!m_source.isEmpty())
        return m_source;
    DriveController* controller = provider ? provider->driveController() : nullptr;
    if (controller && controller->onlineState() == OnlineStateConnecting)
        return tr("Download beim Verbinden");
    QWidget* widget = m_lastInput ? m_lastInput.data()
        : QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<AxisCompareView*>(widget))
            return tr("Achsvergleich");
        if (qobject_cast<ParameterView*>(widget))
            return tr("Parameteransicht");
        if (widget->inherits("ParameterCustomListWidget"))
            return tr("Liste „%1“").arg(listNameInTitle(widget->window()->windowTitle()));
    }
    return tr("Programm");
}

void ChangeRecorder::onWriteStarted(ParameterAddress address, QString oldRaw, QString newRaw)
{
    auto* provider = qobject_cast<ParameterProvider*>(sender());
    DriveController* controller = provider ? provider->driveController() : nullptr;
    if (!provider || !controller || !m_journal || !m_project)
        return;
    // A write of a project being closed (an editor that commits as its
    // window goes) is none of the next project's record.
    if (!m_project->host()->driveControllers().contains(controller))
        return;
    ParameterSetup* setup = provider->parameterSetup(address.coordinate()).data();
    const int space = int(address.livingSpace());
    ChangeJournalEntry entry;
    entry.controller = controller->name();
    entry.axisNumber = space;
    entry.axisName = space == 0 ? QString() : controller->axisName(space);
    entry.address = addressText(setup, address);
    entry.parameter = parameterName(setup, address);
    // A download on connecting does not know the device's value before.
    entry.oldValue = setup && !oldRaw.isEmpty() ? setup->valueText(eLivingSpace(space), address.element(), true) : oldRaw;
    entry.newValue = newRaw;
    entry.source = currentSource(provider);
    m_journal->add(entry);
    m_pending.insert({provider, address.toText()}, m_journal->entries().size() - 1);

    // Writes of undo and redo belong to their step already; a download
    // repeats what was done (and journalled) offline.
    if (m_source == tr("Rückgängig") || m_source == tr("Wiederholen") || entry.source == tr("Download beim Verbinden"))
        return;
    if (!m_openStep)
        m_openStep = new ValueWritesCommand(this);
    m_openStep->writes.append({provider, address, oldRaw, newRaw, false});
    m_stepTimer->start();
}

void ChangeRecorder::onWriteFinished(ParameterAddress address, QString newRaw, ParameterProvider::WriteOutcome outcome, QString reason)
{
    auto* provider = qobject_cast<ParameterProvider*>(sender());
    const QPair<ParameterProvider*, QString> key(provider, address.toText());
    const int index = m_pending.value(key, -1);
    m_pending.remove(key);
    if (!provider || !m_journal || index < 0 || index >= m_journal->entries().size())
        return;
    ChangeJournalEntry entry = m_journal->entries().at(index);
    ParameterSetup* setup = provider->parameterSetup(address.coordinate()).data();
    if (outcome == ParameterProvider::WriteDone && setup)
        entry.newValue = setup->valueText(address.livingSpace(), address.element(), true);
    else
        entry.newValue = newRaw;
    entry.outcome = outcome == ParameterProvider::WriteDone ? ChangeJournalEntry::Written
        : outcome == ParameterProvider::WriteRefused       ? ChangeJournalEntry::Refused
                                                           : ChangeJournalEntry::NotReached;
    entry.reason = reason;
    m_journal->replace(index, entry);

    if (outcome != ParameterProvider::WriteDone)
        return;
    // A step still open, or the last one pushed, learns that its write arrived.
    auto mark = [&](ValueWritesCommand* command) {
        for (ValueWritesCommand::Write& write : command->writes) {
            if (write.provider == provider && write.address == address && write.newRaw == newRaw)
                write.done = true;
        }
    };
    if (m_openStep)
        mark(m_openStep);
    for (int i = m_stack->count() - 1; i >= 0 && i >= m_stack->count() - 8; --i) {
        // List edits share the stack.
        if (auto* writes = dynamic_cast<ValueWritesCommand*>(const_cast<QUndoCommand*>(m_stack->command(i))))
            mark(writes);
    }
}

void ChangeRecorder::closeStep()
{
    ValueWritesCommand* step = m_openStep;
    m_openStep = nullptr;
    if (!step)
        return;
    // Writes the checks refused at once changed nothing to undo.
    for (int i = step->writes.size() - 1; i >= 0; --i) {
        const ValueWritesCommand::Write& write = step->writes.at(i);
        const bool refused = std::none_of(m_pending.keyBegin(), m_pending.keyEnd(), [&](const QPair<ParameterProvider*, QString>& key) {
            return key.first == write.provider && key.second == write.address.toText();
        }) && !write.done;
        if (refused)
            step->writes.removeAt(i);
    }
    if (step->writes.isEmpty()) {
        delete step;
        return;
    }
    step->name();
    m_stack->push(step);
}

QStringList ChangeRecorder::apply(ValueWritesCommand* command, bool undo)
{
    QStringList changed;
    const QString before = m_source;
    m_source = undo ? tr("Rückgängig") : tr("Wiederholen");
    QList<ValueWritesCommand::Write> writes = command->writes;
    if (undo)
        std::reverse(writes.begin(), writes.end());
    for (const ValueWritesCommand::Write& write : qAsConst(writes)) {
        if (!write.provider || !write.done)
            continue;
        ParameterSetup* setup = write.provider->parameterSetup(write.address.coordinate()).data();
        DriveController* controller = write.provider->driveController();
        const eLivingSpace space = write.address.livingSpace();
        const QString expected = undo ? write.newRaw : write.oldRaw;
        const QString wanted = undo ? write.oldRaw : write.newRaw;
        const QString where = addressText(setup, write.address)
            + (controller ? QStringLiteral(" (%1%2)").arg(controller->name(), space == 0 ? QString() : QStringLiteral(", ") + controller->axisName(space))
                          : QString());
        if (!setup || setup->valueText(space, write.address.element(), false) != expected) {
            changed.append(where);
            continue;
        }
        QString refusal;
        if (!setup->setValueText(space, write.address.element(), wanted, &refusal))
            changed.append(where + QStringLiteral(": ") + refusal);
    }
    m_source = before;
    return changed;
}
