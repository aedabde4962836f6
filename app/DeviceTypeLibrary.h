#pragma once

#include <QList>
#include <QSharedPointer>
#include <QString>
#include <QStringList>

#include <memory>

struct DeviceType;
class DeviceTypeLibraryPrivate;

/**
 * The controller types the application can build controllers from: every
 * description in the types directory plus the types that opened descriptions
 * brought along. A type name is known once; the first type read under a name
 * stays, so controllers saved by name always come back with the same
 * catalogue within one session.
 *
 * The help pages of every type are registered with the "parameter" help
 * system as soon as the type is known.
 */
class DeviceTypeLibrary
{
public:
    DeviceTypeLibrary();
    ~DeviceTypeLibrary();

    /// Reads every "*.json" file of @p directory (sorted by name). Files that
    /// are refused are skipped; their messages go to errors(). Returns the
    /// number of types that were added.
    int loadDirectory(const QString& directory);

    /// Reads the types of one description (and of the files it includes).
    /// On failure nothing is added and @p errorMessage receives the reason.
    bool loadFile(const QString& path, QString* errorMessage = nullptr);

    /// Adds types that are not known yet by name, remembering @p sourceFile as
    /// the place they can be read from again. Returns the names added.
    QStringList addTypes(const QList<QSharedPointer<const DeviceType>>& types, const QString& sourceFile);

    QSharedPointer<const DeviceType> type(const QString& name) const;
    bool contains(const QString& name) const;
    /// In the order in which the types became known.
    QStringList typeNames() const;
    /// The description file a type was read from; empty for types added without one.
    QString sourceFile(const QString& name) const;

    /// Messages of the files refused by loadDirectory() and loadFile().
    QStringList errors() const;

private:
    Q_DISABLE_COPY(DeviceTypeLibrary)
    std::unique_ptr<DeviceTypeLibraryPrivate> const d;
};
