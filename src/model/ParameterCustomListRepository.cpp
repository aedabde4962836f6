#include "ParameterCustomListRepository.h"
#include "ParameterCustomListRepository_p.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListStorage_p.h"
#include "ParameterCustomList_p.h"

#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "IniParser.h"
#include "ParameterView.h"

#include <QRegularExpression>
#include <QSet>

#include <climits>

namespace {

const QString StorageName = QStringLiteral("CustomParameterLists");
const QString ItemNamePattern = QStringLiteral("List%1");

bool repositoryIsAlive = false;

// The identifiers this library writes: two decimal numbers short enough not
// to overflow. Everything else takes the exact way below.
bool readPlainSaveIdentifier(const QByteArray& text, long* controllerIndex, unsigned long* axisNumber)
{
    const int colon = text.indexOf(':');
    if (colon < 1 || colon > 9 || text.size() - colon - 1 < 1 || text.size() - colon - 1 > 9)
        return false;
    long first = 0;
    unsigned long second = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (i == colon)
            continue;
        if (c < '0' || c > '9')
            return false;
        if (i < colon)
            first = first * 10 + (c - '0');
        else
            second = second * 10 + ulong(c - '0');
    }
    *controllerIndex = first;
    *axisNumber = second;
    return true;
}

// Why a text could not be read as a stored list, in words for the user.
// Only asked once reading it failed, so that the common path reads the text
// once.
QString storedListProblem(const QByteArray& text)
{
    RnIniParser::IniParser parser;
    parser.setIniText(text);
    for (const char* name : {"List", "Axes", "Parameter"}) {
        if (!parser.section(name))
            return ParameterCustomListRepositoryPrivate::tr("der Abschnitt „%1“ fehlt").arg(QLatin1String(name));
    }
    const RnIniParser::IniSection* list = parser.section("List");
    if (list->value("Value").isEmpty())
        return ParameterCustomListRepositoryPrivate::tr("die Kennung („Value“ im Abschnitt „List“) fehlt");
    if (list->value("Name").isEmpty())
        return ParameterCustomListRepositoryPrivate::tr("der Name („Name“ im Abschnitt „List“) fehlt");
    return ParameterCustomListRepositoryPrivate::tr("der Text lässt sich nicht lesen");
}

// The window states are the last section of a stored list, and their values
// are hex text: no line of theirs can pass for the section's header.
QByteArray withoutStates(const QByteArray& snapshot)
{
    const int states = snapshot.lastIndexOf("\n[States]\n");
    return states < 0 ? snapshot : snapshot.left(states);
}

} // namespace

ParameterCustomListRepositoryPrivate::ParameterCustomListRepositoryPrivate(ParameterCustomListRepository* q)
    : QObject(q)
    , q(q)
{
}

ParameterCustomListRepositoryPrivate::~ParameterCustomListRepositoryPrivate() = default;

bool ParameterCustomListRepositoryPrivate::repositoryAlive()
{
    return repositoryIsAlive;
}

ParameterCustomList* ParameterCustomListRepositoryPrivate::findList(const QString& identifier) const
{
    for (ParameterCustomList* list : lists) {
        if (list->identifier() == identifier)
            return list;
    }
    return nullptr;
}

QList<DriveController*> ParameterCustomListRepositoryPrivate::hostControllers() const
{
    if (!host)
        return {};
    return host->driveControllers();
}

QStringList ParameterCustomListRepositoryPrivate::customListIdentifiers()
{
    QStringList identifiers;
    identifiers.reserve(lists.size());
    for (ParameterCustomList* list : qAsConst(lists))
        identifiers.append(list->identifier());
    return identifiers;
}

QString ParameterCustomListRepositoryPrivate::customListName(QString identifier)
{
    ParameterCustomList* list = findList(identifier);
    return list ? list->name() : QString();
}

void ParameterCustomListRepositoryPrivate::addParameterToCustomList(QString identifier, QString parameter)
{
    if (ParameterCustomList* list = findList(identifier))
        list->addEntry(parameter);
}

void ParameterCustomListRepositoryPrivate::removeParameterFromCustomList(QString identifier, QString parameter)
{
    if (ParameterCustomList* list = findList(identifier))
        list->removeEntry(parameter);
}

void ParameterCustomListRepositoryPrivate::adopt(ParameterCustomList* list, int position)
{
    lists.insert(qBound(0, position, lists.size()), list);
    QMetaObject::invokeMethod(q, "repositoryContentChanged");

    connect(list, &ParameterCustomListInformation::listAxesChanged,
            q, &ParameterCustomListRepository::repositoryContentChanged, Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listEntriesChanged,
            q, &ParameterCustomListRepository::repositoryContentChanged, Qt::UniqueConnection);
    connect(list, &ParameterCustomListInformation::listNameChanged,
            q, &ParameterCustomListRepository::repositoryContentChanged, Qt::UniqueConnection);
    connect(q, &ParameterCustomListRepository::repositoryHostContentChanged,
            list, &ParameterCustomList::announceAxesChanged, Qt::UniqueConnection);
}

void ParameterCustomListRepositoryPrivate::onRepositoryHostContentChanged()
{
    QMetaObject::invokeMethod(q, "repositoryHostContentChanged");
}

ParameterCustomListRepository::ParameterCustomListRepository()
    : d(new ParameterCustomListRepositoryPrivate(this))
{
    repositoryIsAlive = true;
}

ParameterCustomListRepository::~ParameterCustomListRepository()
{
    repositoryIsAlive = false;
    blockSignals(true);
    // The suite's views outlive us when the library is unloaded first.
    if (ParameterView::parameterCustomListHost() == d)
        ParameterView::setParameterCustomListHost(nullptr);
    delete d;
}

ParameterCustomListRepository& ParameterCustomListRepository::instance()
{
    static ParameterCustomListRepository repository;
    return repository;
}

void ParameterCustomListRepository::initialize(ParameterCustomListRepositoryHost* host)
{
    d->host = host;
    if (host) {
        connect(host, &ParameterCustomListRepositoryHost::hostContentChanged,
                d, &ParameterCustomListRepositoryPrivate::onRepositoryHostContentChanged);
        connect(host, &QObject::destroyed,
                d, &ParameterCustomListRepositoryPrivate::onRepositoryHostContentChanged);
    }
    ParameterView::setParameterCustomListHost(d);
}

void ParameterCustomListRepository::load(FileStorageView* storage)
{
    const QList<ParameterCustomList*> previous = d->lists;
    for (ParameterCustomList* list : previous)
        deleteList(list);
    d->unreadableItems.clear();

    blockSignals(true);
    // Nothing but this loop runs until it ends, so the definitions looked up
    // for one list hold for the next.
    ParameterCustomListStorage::DefinitionSnapshot definitions;
    if (storage) {
        FileStorageView* lists = storage->storage(StorageName);
        const QStringList names = lists->itemNames();
        for (const QString& name : names) {
            const QByteArray bytes = lists->readItem(name);
            auto* list = static_cast<ParameterCustomList*>(createList());
            if (!list->d->loadData(bytes, &definitions)) {
                d->lists.removeOne(list);
                delete list;
                d->unreadableItems.append(bytes);
            }
        }
    }
    blockSignals(false);

    QMetaObject::invokeMethod(this, "repositoryContentChanged");
}

void ParameterCustomListRepository::save(FileStorageView* storage)
{
    if (!storage)
        return;
    FileStorageView* lists = storage->storage(StorageName);
    QSet<QString> written;
    int i = 0;
    for (ParameterCustomList* list : qAsConst(d->lists)) {
        const QString name = ItemNamePattern.arg(i++);
        lists->writeItem(name, list->saveData());
        written.insert(name);
    }
    for (const QByteArray& bytes : qAsConst(d->unreadableItems)) {
        const QString name = ItemNamePattern.arg(i++);
        lists->writeItem(name, bytes);
        written.insert(name);
    }
    const QStringList present = lists->itemNames();
    for (const QString& name : present) {
        if (!written.contains(name))
            lists->removeItem(name);
    }
}

void ParameterCustomListRepository::clear()
{
    const QList<ParameterCustomList*> lists = d->lists;
    for (ParameterCustomList* list : lists)
        deleteList(list);
    d->unreadableItems.clear();
}

QList<ParameterCustomListInformation*> ParameterCustomListRepository::content() const
{
    QList<ParameterCustomListInformation*> result;
    result.reserve(d->lists.size());
    for (ParameterCustomList* list : qAsConst(d->lists))
        result.append(list);
    return result;
}

ParameterCustomListInformation* ParameterCustomListRepository::createList() const
{
    auto* list = new ParameterCustomList(d);
    list->setName(ParameterCustomListRepositoryPrivate::tr("neue Parameterliste"));
    d->adopt(list, d->lists.size());
    return list;
}

void ParameterCustomListRepository::deleteList(ParameterCustomListInformation* list)
{
    if (!list)
        return;
    const int index = d->lists.indexOf(static_cast<ParameterCustomList*>(list));
    if (index < 0)
        return;
    ParameterCustomList* doomed = d->lists.takeAt(index);
    delete doomed;
    QMetaObject::invokeMethod(this, "repositoryContentChanged");
}

ParameterCustomListInformation* ParameterCustomListRepository::list(QString identifier) const
{
    return d->findList(identifier);
}

QList<DriveControllerAxis*> ParameterCustomListRepository::driveControllerAxes()
{
    QList<DriveControllerAxis*> axes;
    if (!d->host)
        return axes;
    const QList<DriveController*> controllers = d->host->driveControllers();
    for (DriveController* controller : controllers) {
        if (!controller)
            continue;
        const QList<int> numbers = controller->axisNumbers();
        for (int number : numbers)
            axes.append(controller->axis(number));
    }
    return axes;
}

DriveControllerAxis* ParameterCustomListRepository::driveControllerAxis(QByteArray saveIdentifier) const
{
    long controllerIndex = 0;
    unsigned long axisNumber = 0;
    if (!readPlainSaveIdentifier(saveIdentifier, &controllerIndex, &axisNumber)) {
        static const QRegularExpression pattern(QStringLiteral("\\A(\\d+):(\\d+)\\z"));
        const QRegularExpressionMatch match = pattern.match(QString::fromUtf8(saveIdentifier));
        if (!match.hasMatch())
            return nullptr;

        bool ok = false;
        controllerIndex = match.captured(1).toLong(&ok, 10);
        if (!ok)
            controllerIndex = 0;
        axisNumber = match.captured(2).toULong(&ok, 10);
        if (!ok)
            axisNumber = 0;
    }

    const QList<DriveController*> controllers = d->hostControllers();
    if (controllerIndex >= controllers.size())
        return nullptr;
    DriveController* controller = controllers.at(int(controllerIndex));
    if (!controller || axisNumber > ulong(INT_MAX))
        return nullptr;
    if (!controller->axisNumbers().contains(int(axisNumber)))
        return nullptr;
    return controller->axis(int(axisNumber));
}

QByteArray ParameterCustomListRepository::driveControllerAxisSaveIdentifier(DriveControllerAxis* axis) const
{
    if (!axis)
        return QByteArray();
    DriveController* controller = axis->driveController();
    const int controllerIndex = controller ? d->hostControllers().indexOf(controller) : -1;
    return QByteArray::number(controllerIndex) + ':' + QByteArray::number(axis->axisNumber());
}

int ParameterCustomListRepository::unreadableListCount() const
{
    return d->unreadableItems.size();
}

ParameterCustomListRepository::AxisNumbering ParameterCustomListRepository::axisNumbering()
{
    AxisNumbering numbering;
    const QList<DriveControllerAxis*> axes = driveControllerAxes();
    for (DriveControllerAxis* axis : axes) {
        if (axis)
            numbering.insert(driveControllerAxisSaveIdentifier(axis), axis);
    }
    return numbering;
}

QByteArray ParameterCustomListRepository::listSnapshot(ParameterCustomListInformation* list) const
{
    auto* own = static_cast<ParameterCustomList*>(list);
    if (!list || !d->lists.contains(own))
        return QByteArray();
    return own->saveData();
}

ParameterCustomListInformation* ParameterCustomListRepository::restoreList(const QByteArray& snapshot, int position,
                                                                           const AxisNumbering& numbering,
                                                                           QString* errorMessage)
{
    // Read into a list of its own first: a snapshot that turns out unreadable
    // halfway must not have changed the list it names.
    auto* restored = new ParameterCustomList;
    ParameterCustomListStorage::DefinitionSnapshot definitions;
    if (!restored->d->loadData(snapshot, &definitions, numbering.isEmpty() ? nullptr : &numbering)) {
        delete restored;
        if (errorMessage)
            *errorMessage = ParameterCustomListRepositoryPrivate::tr("Die Liste kann nicht wiederhergestellt werden: %1.")
                                .arg(storedListProblem(snapshot));
        return nullptr;
    }
    if (ParameterCustomList* existing = d->findList(restored->identifier())) {
        existing->d->takeContent(restored->d);
        delete restored;
        return existing;
    }
    restored->setParent(d);
    d->adopt(restored, position);
    return restored;
}

bool ParameterCustomListRepository::sameListContent(const QByteArray& snapshot, const QByteArray& otherSnapshot)
{
    return withoutStates(snapshot) == withoutStates(otherSnapshot);
}

QList<QByteArray> ParameterCustomListRepository::snapshotEntries(const QByteArray& snapshot)
{
    QList<QByteArray> texts;
    std::vector<ParameterCustomListStorage::ParameterLine> lines;
    QByteArray otherSections;
    bool hasParameterSection = false;
    if (ParameterCustomListStorage::splitStoredList(snapshot, &otherSections, &hasParameterSection, &lines)) {
        for (const ParameterCustomListStorage::ParameterLine& line : lines)
            texts.append(snapshot.mid(line.valueBegin, line.valueLength));
        return texts;
    }
    RnIniParser::IniParser parser;
    parser.setIniText(snapshot);
    if (const RnIniParser::IniSection* parameters = parser.section("Parameter")) {
        const QList<QByteArray> keys = parameters->keys();
        for (const QByteArray& key : keys) {
            if (key.startsWith("Coordinate_") && key.size() > 11)
                texts.append(parameters->value(key));
        }
    }
    return texts;
}
