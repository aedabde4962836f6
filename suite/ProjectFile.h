#pragma once

#include "KxSuiteGlobal.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class FileStorageView;

/**
 * Reads and writes a project: a SQLite database that holds a whole
 * FileStorageView tree (sub-storages of any depth, items as blobs, all in
 * their order). A meta table names the format and its version, so that
 * foreign SQLite files and projects of newer program versions are recognised
 * and left alone.
 *
 * All messages are German, name the file and say what is wrong with it.
 */
class KXSUITE_EXPORT ProjectFile
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFile)

public:
    ProjectFile() = delete;

    /// The format version that this program writes and the newest it reads.
    static int formatVersion();

    /**
     * Reads the whole project at @p path into @p into, which is cleared
     * first. Fails with a message when the file is missing, unreadable, not
     * a SQLite database, a SQLite database that is no project, damaged, or
     * written by a newer program version; @p into is then left empty.
     *
     * Items the file holds but that cannot be read are left out; items whose
     * bytes do not match their checksum go, unchanged, into the root's
     * sub-storage damagedItemsStorageName() instead of their own place, so
     * that nobody uses them and the next write() keeps them. Each such item
     * adds one line to @p warnings, naming project, storage and item.
     *
     * The file is not modified, except that an interrupted save left behind
     * is rolled back first, as SQLite does when it opens the file for writing.
     */
    static bool read(const QString& path, FileStorageView* into, QString* errorMessage,
                     QStringList* warnings = nullptr);

    /**
     * Stores the whole tree @p root at @p path in one transaction, replacing
     * everything stored there before. When anything fails, the previous
     * content stays as it was. A new file is written under a temporary name
     * in the same directory and renamed into place only when complete;
     * temporary files that an earlier, interrupted first save left there are
     * removed. An existing file that is not a project of this or an older
     * version is refused and left untouched.
     */
    static bool write(const QString& path, const FileStorageView& root, QString* errorMessage);

    /// The root's sub-storage that keeps items whose checksum failed, named
    /// by their storage path and name ("Storage/Item").
    static QString damagedItemsStorageName();

    /// True for a SQLite file with the project meta table, of any version.
    static bool isProjectFile(const QString& path);

    /// For tests: with @p n >= 0 the next write() fails as soon as it has
    /// stored @p n items and rolls back, as a crash or a full disk would; a
    /// tree with fewer items is written normally. The setting is used up by
    /// that write() either way; -1 switches it off.
    static void setFailAfterItemsForTesting(int n);
};
