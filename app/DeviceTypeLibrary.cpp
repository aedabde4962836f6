#include "DeviceTypeLibrary.h"

#include "DeviceDescription.h"
#include "DeviceType.h"
#include "HelpSystem.h"
#include "System.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

class DeviceTypeLibraryPrivate
{
public:
    QStringList names;
    QHash<QString, QSharedPointer<const DeviceType>> types;
    QHash<QString, QString> sourceFiles;
    QStringList errors;
};

DeviceTypeLibrary::DeviceTypeLibrary()
    : d(new DeviceTypeLibraryPrivate)
{
}

DeviceTypeLibrary::~DeviceTypeLibrary() = default;

int DeviceTypeLibrary::loadDirectory(const QString& directory)
{
    const QDir dir(directory);
    int added = 0;
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& file : files) {
        DeviceDescription description;
        const QString path = dir.absoluteFilePath(file);
        if (!description.loadFile(path)) {
            d->errors.append(description.errorMessage());
            continue;
        }
        added += addTypes(description.types(), path).size();
    }
    return added;
}

bool DeviceTypeLibrary::loadFile(const QString& path, QString* errorMessage)
{
    DeviceDescription description;
    if (!description.loadFile(path)) {
        d->errors.append(description.errorMessage());
        if (errorMessage)
            *errorMessage = description.errorMessage();
        return false;
    }
    addTypes(description.types(), QFileInfo(path).absoluteFilePath());
    return true;
}

QStringList DeviceTypeLibrary::addTypes(const QList<QSharedPointer<const DeviceType>>& types, const QString& sourceFile)
{
    QStringList added;
    HelpSystem* help = System::instance().helpSystem(QStringLiteral("parameter"));
    for (const QSharedPointer<const DeviceType>& type : types) {
        if (!type || d->types.contains(type->name))
            continue;
        d->names.append(type->name);
        d->types.insert(type->name, type);
        if (!sourceFile.isEmpty())
            d->sourceFiles.insert(type->name, sourceFile);
        for (const DeviceHelpPage& page : type->helpPages)
            help->registerPage(page.identifier, page.title, page.html);
        added.append(type->name);
    }
    return added;
}

QSharedPointer<const DeviceType> DeviceTypeLibrary::type(const QString& name) const
{
    return d->types.value(name);
}

bool DeviceTypeLibrary::contains(const QString& name) const
{
    return d->types.contains(name);
}

QStringList DeviceTypeLibrary::typeNames() const
{
    return d->names;
}

QString DeviceTypeLibrary::sourceFile(const QString& name) const
{
    return d->sourceFiles.value(name);
}

QStringList DeviceTypeLibrary::errors() const
{
    return d->errors;
}
