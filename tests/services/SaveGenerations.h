#pragma once

#include "FileStorageView.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The project content of the crash test's save generations: every
// generation has a different number of lists of different sizes, so that
// consecutive saves differ in items, pages and file length.
namespace SaveGenerations {

inline void build(FileStorageView* root, int generation)
{
    root->clear();
    root->storage(QStringLiteral("Project"))
        ->writeItem(QStringLiteral("Controllers"), QByteArray("{\"generation\": ") + QByteArray::number(generation) + '}');
    FileStorageView* lists = root->storage(QStringLiteral("CustomParameterLists"));
    const int count = 3 + generation % 5;
    for (int i = 0; i < count; ++i) {
        const QByteArray line = QByteArray("Coordinate_A") + QByteArray::number(10 + i) + "=generation "
            + QByteArray::number(generation) + '\n';
        lists->writeItem(QStringLiteral("List%1").arg(i), line.repeated(1 + (generation * 7 + i * 13) % 600));
    }
}

// One line per item: storage, name and bytes.
inline QStringList flatten(const FileStorageView& root)
{
    QStringList lines;
    for (const QString& storage : root.storageNames()) {
        const FileStorageView* view = root.subStorage(storage);
        for (const QString& item : view->itemNames())
            lines << storage + QLatin1Char('/') + item + QLatin1Char('=') + QString::fromLatin1(view->readItem(item));
    }
    for (const QString& item : root.itemNames())
        lines << item + QLatin1Char('=') + QString::fromLatin1(root.readItem(item));
    return lines;
}

} // namespace SaveGenerations
