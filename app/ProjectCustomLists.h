#pragma once

#include <QObject>
#include <QPointer>

class FileStorageView;
class Project;

/**
 * Keeps the variable parameter lists with the project: they reach the
 * project's controllers through its host, come back whenever a project is
 * opened or a new one is made, and are written into the storage tree each
 * time it is saved. Any change of a list makes the project modified.
 *
 * The lists live in one repository per process, which serves the binding
 * made last. When that binding goes, it empties the repository first, so no
 * list outlives the controllers whose axes it shows.
 */
class ProjectCustomLists : public QObject
{
    Q_OBJECT

public:
    explicit ProjectCustomLists(Project* project, QObject* parent = nullptr);
    ~ProjectCustomLists() override;

    /// The sub-storage of the project tree that holds the lists.
    static QString storageName();

    /// Whether the repository serves this binding's project.
    bool isActive() const;

    /// Stored lists of the open project that could not be read; they are
    /// written back unchanged on save.
    int unreadableListCount() const;

    /// The lists of the open project.
    int listCount() const;

    /// Whether saving now would store the lists differently from the project
    /// tree as last read or written. Also sees what no list signal tells
    /// about, such as the window state the list windows keep in their lists.
    bool hasUnstoredChanges() const;

private slots:
    void onProjectLoaded(FileStorageView* storage);
    void onProjectAboutToBeSaved(FileStorageView* storage);
    void onRepositoryContentChanged();

private:
    void load(FileStorageView* storage);

    QPointer<Project> m_project;
    bool m_loading = false;
};
