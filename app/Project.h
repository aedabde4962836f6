#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class DeviceTypeLibrary;
class DriveController;
class DriveControllerAxis;
class FileStorageView;
class ProjectHost;
class ProjectPrivate;

/// What opening a file did.
struct ProjectOpenResult
{
    bool opened = false;
    /// Why the file was not opened; the previous project is then still open.
    QString error;
    /// What the file held but the project could not take (one line each),
    /// items of a damaged file first.
    QStringList skipped;
    /// The file was a device description: the project is new and unsaved.
    bool fromDescription = false;
};

/**
 * The open project: its controllers (through the host), its storage tree and
 * its file. Everything the user can do to the project, without any widget.
 *
 * The storage tree is what the project file holds. The controllers live in
 * the sub-storage "Project"; other parts keep their own sub-storages in the
 * same tree: they read them on projectLoaded() and write them on
 * projectAboutToBeSaved(), which comes after the controllers were stored and
 * before the file is written. Sub-storages nobody writes are kept as they
 * were read, so a file saved by a program with more parts loses nothing; a
 * part that writes a varying number of items clears its sub-storage first.
 */
class Project : public QObject
{
    Q_OBJECT

public:
    /// @p typesDirectory: where the controller types are read from (every "*.json").
    explicit Project(const QString& typesDirectory, QObject* parent = nullptr);
    ~Project() override;

    static QString storageName();        ///< "Project"
    static QString fileSuffix();         ///< "kxproj"

    ProjectHost* host() const;
    DeviceTypeLibrary* typeLibrary() const;
    FileStorageView* storage() const;

    /// The project file; empty while the project was never saved.
    QString filePath() const;
    /// The device description a new project was made from; empty otherwise.
    QString descriptionPath() const;
    /// The name (without directory) of the project file, else of the
    /// description the project was made from; empty for a new project.
    QString sourceFileName() const;
    bool isModified() const;
    /// For parts that keep their data in the storage tree: something of
    /// theirs changed that the next save must write. Ignored while a project
    /// is being opened.
    void markModified();

    /// Closes the current project without asking and starts an empty one.
    void newProject();
    /// Opens a project file, or a device description ("*.json") as a new,
    /// unsaved project. On failure the current project stays as it was.
    ProjectOpenResult open(const QString& path);
    /// Stores the project in @p path, which becomes the project's file.
    bool save(const QString& path, QString* errorMessage = nullptr);

    /// Opens @p path into a project of its own, only to be looked at: every
    /// controller refuses value changes, and nothing of it is ever saved.
    /// Null on failure, with the reason in @p errorMessage; what was left out
    /// goes to @p skipped.
    static std::shared_ptr<Project> openForReading(const QString& path, const QString& typesDirectory,
                                                   QString* errorMessage, QStringList* skipped = nullptr);

    /// A new controller of a library type with axes 1..@p axisCount, appended.
    DriveController* addController(const QString& typeName, const QString& name, int axisCount,
                                   QString* errorMessage = nullptr);
    bool removeController(DriveController* controller);
    /// The lowest axis number the controller does not have yet; 0 when it
    /// already has every axis its type allows.
    static int nextFreeAxisNumber(const DriveController* controller);
    DriveControllerAxis* addAxis(DriveController* controller, const QString& name, QString* errorMessage = nullptr);
    bool removeAxis(DriveController* controller, int number);

signals:
    /// After newProject() and a successful open(): every controller is new.
    void projectReplaced();
    /// After newProject() and a successful open(), with the tree just read
    /// (empty for a new project or one made from a description).
    void projectLoaded(FileStorageView* storage);
    void projectAboutToBeSaved(FileStorageView* storage);
    void projectSaved(const QString& path);
    void modifiedChanged(bool modified);
    void filePathChanged(const QString& path);

private slots:
    void onHostContentChanged();
    void onSomethingChanged();
    void onNeedSaveChanged(bool needSave);

private:
    std::unique_ptr<ProjectPrivate> const d;
};
