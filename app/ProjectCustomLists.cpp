#include "ProjectCustomLists.h"

#include "FileStorageView.h"
#include "ParameterCustomListRepository.h"
#include "Project.h"
#include "ProjectHost.h"

namespace {

ProjectCustomLists* activeBinding = nullptr;

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
    // save would come back as lists the user deleted.
    storage->removeStorage(storageName());
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
