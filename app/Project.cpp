#include "Project.h"

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "DeviceTypeLibrary.h"
#include "DriveController.h"
#include "DriveControllerAxis.h"
#include "FileStorageView.h"
#include "ParameterProvider.h"
#include "ProjectCodec.h"
#include "ProjectFile.h"
#include "ProjectHost.h"

#include <QFileInfo>

namespace {
const QString controllersItem = QStringLiteral("Controllers");
}

class ProjectPrivate
{
public:
    ProjectPrivate(Project* project, const QString& typesDirectory);

    void setModified(bool modified);
    void setFilePath(const QString& path);
    void replace(const QList<DriveController*>& controllers, std::unique_ptr<FileStorageView> storage);
    ProjectOpenResult openDescription(const QString& path);
    ProjectOpenResult openProjectFile(const QString& path);

    Project* const q;
    DeviceTypeLibrary library;
    ProjectHost* const host;
    std::unique_ptr<FileStorageView> storage;
    QString filePath;
    QString descriptionPath;
    bool modified = false;
    bool replacing = false;
};

ProjectPrivate::ProjectPrivate(Project* project, const QString& typesDirectory)
    : q(project)
    , host(new ProjectHost(project))
    , storage(new FileStorageView)
{
    if (!typesDirectory.isEmpty())
        library.loadDirectory(typesDirectory);
}

void ProjectPrivate::setModified(bool value)
{
    if (modified == value)
        return;
    modified = value;
    emit q->modifiedChanged(modified);
}

void ProjectPrivate::setFilePath(const QString& path)
{
    if (filePath == path)
        return;
    filePath = path;
    emit q->filePathChanged(filePath);
}

void ProjectPrivate::replace(const QList<DriveController*>& controllers, std::unique_ptr<FileStorageView> newStorage)
{
    storage = std::move(newStorage);
    replacing = true;
    host->setDriveControllers(controllers);
    replacing = false;
    for (DriveController* controller : controllers)
        controller->markSaved();
    setModified(false);
    emit q->projectReplaced();
    emit q->projectLoaded(storage.get());
}

ProjectOpenResult ProjectPrivate::openDescription(const QString& path)
{
    ProjectOpenResult result;
    DeviceDescription description;
    if (!description.loadFile(path)) {
        result.error = description.errorMessage();
        return result;
    }
    library.addTypes(description.types(), QFileInfo(path).absoluteFilePath());
    const QList<DriveController*> controllers = description.createControllers();
    descriptionPath = QFileInfo(path).absoluteFilePath();
    setFilePath(QString());
    replace(controllers, std::make_unique<FileStorageView>());
    result.opened = true;
    result.fromDescription = true;
    return result;
}

ProjectOpenResult ProjectPrivate::openProjectFile(const QString& path)
{
    ProjectOpenResult result;
    auto read = std::make_unique<FileStorageView>();
    QStringList damage;
    if (!ProjectFile::read(path, read.get(), &result.error, &damage))
        return result;
    QList<DriveController*> controllers;
    if (const FileStorageView* own = read->subStorage(Project::storageName()); own && own->hasItem(controllersItem)) {
        ProjectCodec::DecodeResult decoded = ProjectCodec::decode(own->readItem(controllersItem), &library);
        if (!decoded.ok) {
            result.error = Project::tr("Die Projektdatei „%1“ kann nicht geöffnet werden: %2")
                               .arg(QFileInfo(path).fileName(), decoded.error);
            return result;
        }
        controllers = decoded.controllers;
        result.skipped = decoded.skipped;
    }
    result.skipped = damage + result.skipped;
    descriptionPath.clear();
    setFilePath(QFileInfo(path).absoluteFilePath());
    replace(controllers, std::move(read));
    result.opened = true;
    return result;
}

Project::Project(const QString& typesDirectory, QObject* parent)
    : QObject(parent)
    , d(new ProjectPrivate(this, typesDirectory))
{
    connect(d->host, &ProjectHost::hostContentChanged, this, &Project::onHostContentChanged);
}

Project::~Project() = default;

QString Project::storageName()
{
    return QStringLiteral("Project");
}

QString Project::fileSuffix()
{
    return QStringLiteral("kxproj");
}

ProjectHost* Project::host() const
{
    return d->host;
}

DeviceTypeLibrary* Project::typeLibrary() const
{
    return &d->library;
}

FileStorageView* Project::storage() const
{
    return d->storage.get();
}

QString Project::filePath() const
{
    return d->filePath;
}

QString Project::descriptionPath() const
{
    return d->descriptionPath;
}

QString Project::sourceFileName() const
{
    return QFileInfo(d->filePath.isEmpty() ? d->descriptionPath : d->filePath).fileName();
}

bool Project::isModified() const
{
    return d->modified;
}

void Project::markModified()
{
    if (!d->replacing)
        d->setModified(true);
}

void Project::newProject()
{
    d->descriptionPath.clear();
    d->setFilePath(QString());
    d->replace({}, std::make_unique<FileStorageView>());
}

ProjectOpenResult Project::open(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("json"), Qt::CaseInsensitive) == 0 && !ProjectFile::isProjectFile(path))
        return d->openDescription(path);
    return d->openProjectFile(path);
}

bool Project::save(const QString& path, QString* errorMessage)
{
    FileStorageView* own = d->storage->storage(storageName());
    own->clear();
    own->writeItem(controllersItem, ProjectCodec::encode(d->host->driveControllers(), &d->library));
    emit projectAboutToBeSaved(d->storage.get());
    if (!ProjectFile::write(path, *d->storage, errorMessage))
        return false;
    for (DriveController* controller : d->host->driveControllers())
        controller->markSaved();
    d->descriptionPath.clear();
    d->setFilePath(QFileInfo(path).absoluteFilePath());
    d->setModified(false);
    emit projectSaved(d->filePath);
    return true;
}

std::shared_ptr<Project> Project::openForReading(const QString& path, const QString& typesDirectory,
                                                QString* errorMessage, QStringList* skipped)
{
    auto project = std::make_shared<Project>(typesDirectory);
    const ProjectOpenResult result = project->open(path);
    QString error = result.error;
    bool anyAxis = false;
    for (DriveController* controller : project->host()->driveControllers()) {
        controller->parameterProvider()->setReadOnly(true);
        anyAxis = anyAxis || !controller->axisNumbers().isEmpty();
    }
    if (result.opened && !anyAxis)
        error = tr("„%1“ enthält keinen Regler mit einer Achse.").arg(QFileInfo(path).fileName());
    if (!error.isEmpty()) {
        if (errorMessage)
            *errorMessage = error;
        return nullptr;
    }
    if (skipped)
        *skipped = result.skipped;
    return project;
}

DriveController* Project::addController(const QString& typeName, const QString& name, int axisCount,
                                        QString* errorMessage)
{
    const QSharedPointer<const DeviceType> type = d->library.type(typeName);
    QString error;
    if (!type)
        error = tr("Den Gerätetyp „%1“ gibt es nicht.").arg(typeName);
    else if (name.trimmed().isEmpty())
        error = tr("Der Regler braucht einen Namen.");
    else if (axisCount < 0 || axisCount > type->maxAxes)
        error = tr("Ein „%1“ hat höchstens %2 Achsen.").arg(typeName).arg(type->maxAxes);
    if (!error.isEmpty()) {
        if (errorMessage)
            *errorMessage = error;
        return nullptr;
    }
    auto* controller = new DriveController(type, name.trimmed());
    for (int number = 1; number <= axisCount; ++number)
        controller->addAxis(number, tr("Achse %1").arg(number));
    d->host->addDriveController(controller);
    return controller;
}

bool Project::removeController(DriveController* controller)
{
    return d->host->removeDriveController(controller);
}

int Project::nextFreeAxisNumber(const DriveController* controller)
{
    if (!controller || !controller->type())
        return 0;
    const QList<int> used = controller->axisNumbers();
    for (int number = 1; number <= controller->type()->maxAxes; ++number) {
        if (!used.contains(number))
            return number;
    }
    return 0;
}

DriveControllerAxis* Project::addAxis(DriveController* controller, const QString& name, QString* errorMessage)
{
    if (d->host->indexOf(controller) < 0)
        return nullptr;
    const int number = nextFreeAxisNumber(controller);
    if (number == 0) {
        if (errorMessage)
            *errorMessage = tr("Der Regler „%1“ hat bereits alle %2 Achsen seines Gerätetyps.")
                                .arg(controller->name())
                                .arg(controller->type() ? controller->type()->maxAxes : 0);
        return nullptr;
    }
    const QString axisName = name.trimmed().isEmpty() ? tr("Achse %1").arg(number) : name.trimmed();
    return controller->addAxis(number, axisName);
}

bool Project::removeAxis(DriveController* controller, int number)
{
    if (d->host->indexOf(controller) < 0)
        return false;
    return controller->removeAxis(number);
}

void Project::onHostContentChanged()
{
    for (DriveController* controller : d->host->driveControllers()) {
        connect(controller, &DriveController::nameChanged, this, &Project::onSomethingChanged, Qt::UniqueConnection);
        connect(controller, &DriveController::markingColorChanged, this, &Project::onSomethingChanged,
                Qt::UniqueConnection);
        connect(controller, &DriveController::needSaveChanged, this, &Project::onNeedSaveChanged,
                Qt::UniqueConnection);
        connect(controller->parameterProvider(), &ParameterProvider::readOnlyChanged, this,
                &Project::onSomethingChanged, Qt::UniqueConnection);
        for (int number : controller->axisNumbers()) {
            connect(controller->axis(number), &DriveControllerAxis::nameChanged, this, &Project::onSomethingChanged,
                    Qt::UniqueConnection);
        }
    }
    if (!d->replacing)
        d->setModified(true);
}

void Project::onSomethingChanged()
{
    d->setModified(true);
}

void Project::onNeedSaveChanged(bool needSave)
{
    if (needSave)
        d->setModified(true);
}
