#include "FileStorageView.h"

#include <QHash>

class FileStorageViewPrivate
{
public:
    QStringList itemNames;
    QHash<QString, QByteArray> items;
    QStringList storageNames;
    QHash<QString, std::shared_ptr<FileStorageView>> storages;
};

FileStorageView::FileStorageView()
    : d(new FileStorageViewPrivate)
{
}

FileStorageView::~FileStorageView() = default;

FileStorageView* FileStorageView::storage(const QString& name)
{
    std::shared_ptr<FileStorageView>& child = d->storages[name];
    if (!child) {
        child = std::make_shared<FileStorageView>();
        d->storageNames.append(name);
    }
    return child.get();
}

QStringList FileStorageView::storageNames() const
{
    return d->storageNames;
}

bool FileStorageView::hasStorage(const QString& name) const
{
    return d->storages.contains(name);
}

const FileStorageView* FileStorageView::subStorage(const QString& name) const
{
    const auto found = d->storages.constFind(name);
    return found == d->storages.constEnd() ? nullptr : found->get();
}

void FileStorageView::removeStorage(const QString& name)
{
    if (d->storages.remove(name) > 0)
        d->storageNames.removeOne(name);
}

QStringList FileStorageView::itemNames() const
{
    return d->itemNames;
}

bool FileStorageView::hasItem(const QString& name) const
{
    return d->items.contains(name);
}

QByteArray FileStorageView::readItem(const QString& name) const
{
    return d->items.value(name);
}

void FileStorageView::writeItem(const QString& name, const QByteArray& bytes)
{
    auto it = d->items.find(name);
    if (it != d->items.end()) {
        *it = bytes;
        return;
    }
    d->itemNames.append(name);
    d->items.insert(name, bytes);
}

void FileStorageView::removeItem(const QString& name)
{
    if (d->items.remove(name) > 0)
        d->itemNames.removeOne(name);
}

void FileStorageView::clear()
{
    d->itemNames.clear();
    d->items.clear();
    d->storageNames.clear();
    d->storages.clear();
}

bool FileStorageView::isEmpty() const
{
    return d->items.isEmpty() && d->storages.isEmpty();
}
