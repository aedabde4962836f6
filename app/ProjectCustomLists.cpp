#include "ProjectCustomLists.h"

#include "FileStorageView.h"
#include "ParameterCustomListRepository.h"
#include "Project.h"
#include "ProjectHost.h"

#include <QDataStream>
#include <QMap>
#include <QRect>

#include <algorithm>

namespace {

ProjectCustomLists* activeBinding = nullptr;

// A window geometry (hex text of QWidget::saveGeometry()) comes back a few
// pixels off after the window system placed the window's frame; only what the
// user changes on purpose, size and maximised or full-screen state, counts.
QByteArray comparableLine(const QByteArray& line)
{
    static const QByteArray geometryMagic = QByteArrayLiteral("01d9d0cb");
    const int separator = line.indexOf('=');
    if (separator < 0 || !line.mid(separator + 1).startsWith(geometryMagic))
        return line;
    QDataStream stream(QByteArray::fromHex(line.mid(separator + 1)));
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0, minor = 0;
    QRect frame, normal;
    qint32 screen = 0;
    quint8 maximized = 0, fullScreen = 0;
    stream >> magic >> major >> minor >> frame >> normal >> screen >> maximized >> fullScreen;
    if (stream.status() != QDataStream::Ok)
        return line;
    return line.left(separator + 1) + QByteArray::number(normal.width()) + 'x' + QByteArray::number(normal.height())
        + ' ' + QByteArray::number(maximized) + QByteArray::number(fullScreen);
}

// Item name -> its lines in sorted order: the window states of a list are
// written in no fixed order, which must not count as a change.
QMap<QString, QByteArrayList> comparableItems(const FileStorageView* lists)
{
    QMap<QString, QByteArrayList> items;
    for (const QString& name : lists ? lists->itemNames() : QStringList()) {
        QByteArrayList lines = lists->readItem(name).split('\n');
        for (QByteArray& line : lines)
            line = comparableLine(line.trimmed());
        lines.removeAll(QByteArray());
        std::sort(lines.begin(), lines.end());
        items.insert(name, lines);
    }
    return items;
}

} // namespace

ProjectCustomLists::ProjectCustomLists(Project* project, QObject* parent)
    : QObject(parent)
    , m_project(project)
{
    activeBinding = this;
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    repository.initialize(project->host());
    connect(project, &Project::projectLoaded, this, &ProjectCustomLists::onProjectLoaded);
    connect(project, &Project::projectAboutToBeSaved, this, &ProjectCustomLists::onProjectAboutToBeSaved);
    connect(&repository, &ParameterCustomListRepository::repositoryContentChanged, this,
            &ProjectCustomLists::onRepositoryContentChanged);
    // Lists of an earlier project in this process must not show up in this one.
    load(project->storage());
}

ProjectCustomLists::~ProjectCustomLists()
{
    ParameterCustomListRepository& repository = ParameterCustomListRepository::instance();
    disconnect(&repository, nullptr, this, nullptr);
    if (activeBinding != this)
        return;
    activeBinding = nullptr;
    repository.clear();
}

QString ProjectCustomLists::storageName()
{
    return QStringLiteral("CustomParameterLists");
}

bool ProjectCustomLists::isActive() const
{
    return activeBinding == this;
}

int ProjectCustomLists::unreadableListCount() const
{
    return isActive() ? ParameterCustomListRepository::instance().unreadableListCount() : 0;
}

int ProjectCustomLists::listCount() const
{
    return isActive() ? ParameterCustomListRepository::instance().content().size() : 0;
}

bool ProjectCustomLists::hasUnstoredChanges() const
{
    if (!isActive() || !m_project)
        return false;
    FileStorageView scratch;
    ParameterCustomListRepository::instance().save(&scratch);
    return comparableItems(scratch.subStorage(storageName()))
        != comparableItems(m_project->storage()->subStorage(storageName()));
}

void ProjectCustomLists::onProjectLoaded(FileStorageView* storage)
{
    if (isActive())
        load(storage);
}

void ProjectCustomLists::onProjectAboutToBeSaved(FileStorageView* storage)
{
    if (!isActive() || !storage)
        return;
    // The repository writes List0..List(n-1) only; items of an earlier, longer
    // save would come back as lists the user deleted. Emptied where it is
    // rather than made anew: a new one would move behind the parts saved
    // after it, and the next save would store the project in another order.
    if (storage->hasStorage(storageName()))
        storage->storage(storageName())->clear();
    ParameterCustomListRepository::instance().save(storage);
}

void ProjectCustomLists::onRepositoryContentChanged()
{
    if (m_loading || !isActive() || !m_project)
        return;
    m_project->markModified();
}

void ProjectCustomLists::load(FileStorageView* storage)
{
    m_loading = true;
    ParameterCustomListRepository::instance().load(storage);
    m_loading = false;
}
