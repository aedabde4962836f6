#pragma once

#include "KxSuiteGlobal.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class FileStorageViewPrivate;

/**
 * A node of the project's storage tree, held in memory: named items (byte
 * arrays) and named sub-storages, both kept in the order in which they first
 * appeared. Names may hold any characters, "/" included; they are not paths.
 *
 * ProjectFile reads and writes a whole tree.
 */
class KXSUITE_EXPORT FileStorageView
{
public:
    FileStorageView();
    ~FileStorageView();

    /// The sub-storage called @p name, created empty on first use. Owned by
    /// this view; valid until clear(), removeStorage() or this view's end.
    FileStorageView* storage(const QString& name);

    /// The names of the sub-storages in creation order.
    QStringList storageNames() const;
    bool hasStorage(const QString& name) const;

    /// The existing sub-storage called @p name, or null; never creates one.
    const FileStorageView* subStorage(const QString& name) const;

    /// Removes a sub-storage and everything in it.
    void removeStorage(const QString& name);

    /// The names of the items in the order in which they were first written.
    QStringList itemNames() const;
    bool hasItem(const QString& name) const;

    /// The bytes of item @p name; empty when there is no such item.
    QByteArray readItem(const QString& name) const;

    /// Stores @p bytes as item @p name. An existing item keeps its position,
    /// a new one is appended.
    void writeItem(const QString& name, const QByteArray& bytes);
    void removeItem(const QString& name);

    /// Drops all items and sub-storages.
    void clear();

    /// True when the view holds neither items nor sub-storages.
    bool isEmpty() const;

private:
    Q_DISABLE_COPY(FileStorageView)
    std::unique_ptr<FileStorageViewPrivate> const d;
};
