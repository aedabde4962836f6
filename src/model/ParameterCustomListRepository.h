#pragma once

#include "kxparametercustomlist_export.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class DriveControllerAxis;
class FileStorageView;
class ParameterCustomListInformation;
class ParameterCustomListRepositoryHost;
class ParameterCustomListRepositoryPrivate;

/**
 * Owns every variable parameter list of the open project, stores them in the
 * project storage and restores them, and is the library's only road to the
 * project's drive controllers.
 *
 * A process-wide singleton: take it with instance(), call initialize() with
 * the application's host once, then load() and save() as projects are opened
 * and saved. Everything runs on the GUI thread.
 *
 * The repository's own signals are emitted from inside the call that causes
 * them; changes of single lists reach repositoryContentChanged() later,
 * through the event queue.
 */
class KXPARAMETERCUSTOMLIST_EXPORT ParameterCustomListRepository : public QObject
{
    Q_OBJECT

public:
    /// The singleton, created on first use.
    static ParameterCustomListRepository& instance();

    /**
     * Sets the host through which the repository reaches the drive
     * controllers (replacing an earlier one) and registers the lists with the
     * suite's parameter views. The host stays owned by the caller.
     */
    void initialize(ParameterCustomListRepositoryHost* host);

    /**
     * Replaces all lists by those stored in @p storage (sub-storage
     * "CustomParameterLists"). Emits repositoryContentChanged() once per list
     * that existed before and once at the end.
     *
     * A stored list that cannot be read is not turned into a list: its bytes
     * are kept aside unchanged and written back by the next save(), so a
     * damaged item never costs the user the rest of the project nor becomes
     * an empty list. unreadableListCount() tells how many there are.
     */
    void load(FileStorageView* storage);

    /**
     * Writes every list into the sub-storage "CustomParameterLists" of
     * @p storage as the items "List0", "List1", ... in repository order,
     * followed by the unreadable items kept from the last load(). Items of
     * that sub-storage that this save did not write are removed, so deleted
     * lists do not come back. Emits nothing.
     */
    void save(FileStorageView* storage);

    /// Deletes all lists (one repositoryContentChanged() per list) and forgets
    /// the unreadable items kept from the last load().
    void clear();

    /// The lists in repository order.
    QList<ParameterCustomListInformation*> content() const;

    /// A new empty list named "neue Parameterliste", owned by the repository.
    ParameterCustomListInformation* createList() const;

    /// Deletes @p list if it belongs to the repository; otherwise nothing happens.
    void deleteList(ParameterCustomListInformation* list);

    /// The first list with that identifier, or null.
    ParameterCustomListInformation* list(QString identifier) const;

    /// Every axis of every drive controller of the host, in host and axis
    /// order; empty without host.
    QList<DriveControllerAxis*> driveControllerAxes();

    /// The axis named by an axis save identifier ("0:2" = axis number 2 of
    /// the host's first controller), or null.
    DriveControllerAxis* driveControllerAxis(QByteArray saveIdentifier) const;

    /// The axis save identifier of @p axis: the index of its controller in the
    /// host's controllers (-1 when the host does not list it), ":", its number.
    QByteArray driveControllerAxisSaveIdentifier(DriveControllerAxis* axis) const;

    /// Number of stored lists that the last load() could not read and that
    /// the next save() writes back unchanged.
    int unreadableListCount() const;

    /// Every axis of the host by its save identifier, as the host numbers
    /// them at this moment. Removing a controller renumbers the ones after
    /// it; a numbering kept beside a snapshot still says which axes the
    /// snapshot's identifiers meant (see restoreList()).
    using AxisNumbering = QHash<QByteArray, QPointer<DriveControllerAxis>>;
    AxisNumbering axisNumbering();

    /**
     * The stored form of @p list, byte for byte what save() writes for it:
     * name, axes, entries and the states of its windows, which are asked to
     * store them first (prepareSaveData()). Empty when @p list is not one of
     * the repository's lists.
     */
    QByteArray listSnapshot(ParameterCustomListInformation* list) const;

    /**
     * Puts back the list that @p snapshot describes (a listSnapshot() or a
     * stored item of a project).
     *
     * If a list with the snapshot's identifier exists, that same object takes
     * the snapshot's name, axes and entries; the states its windows keep stay
     * as they are, since an open window owns them. It then posts
     * listNameChanged(), listAxesChanged() and listEntriesChanged(), so that
     * its windows show it again. Otherwise the list is created with the
     * snapshot's identifier and everything the snapshot holds, at @p position
     * in content() (clamped to the ends), and repositoryContentChanged() is
     * emitted before this returns, as createList() does.
     *
     * The snapshot's axis identifiers are looked up in @p numbering, the
     * numbering taken when the snapshot was, so that controllers removed
     * since do not shift the list onto other axes; an empty @p numbering
     * means the host's numbering now. An axis that is gone is left out.
     *
     * A snapshot that is not a stored list (a section missing, no name or no
     * identifier) is refused: the result is null, nothing changes, and
     * @p errorMessage, if given, says what is missing.
     */
    ParameterCustomListInformation* restoreList(const QByteArray& snapshot, int position,
                                                const AxisNumbering& numbering = AxisNumbering(),
                                                QString* errorMessage = nullptr);

    /// Whether two snapshots hold the same list: identifier, name, axes and
    /// entries. The states of the list's windows do not count.
    static bool sameListContent(const QByteArray& snapshot, const QByteArray& otherSnapshot);

    /// The entries a snapshot holds, one entry text ("A12", "A12[1/3]") per
    /// parameter, read without making a list of it: what the list's
    /// exportText() has in its lines, elements in ascending order.
    static QList<QByteArray> snapshotEntries(const QByteArray& snapshot);

signals:
    void repositoryContentChanged();
    void repositoryHostContentChanged();

private:
    ParameterCustomListRepository();
    ~ParameterCustomListRepository() override;
    Q_DISABLE_COPY(ParameterCustomListRepository)

    friend class ParameterCustomListRepositoryPrivate;
    ParameterCustomListRepositoryPrivate* const d;
};
