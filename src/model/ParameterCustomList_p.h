#pragma once

#include "ParameterCoordinate.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListStorage_p.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

namespace RnIniParser {
class IniSection;
}

class DriveControllerAxis;
class ParameterCustomList;
class ParameterCustomListEntry;

class ParameterCustomListPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCustomListPrivate(ParameterCustomList* q);
    ~ParameterCustomListPrivate() override;

    // Queued, and dropped while the repository's signals are blocked (a
    // project load), so observers never see a half-read list.
    void postSignal(const char* signalName);

    // `numbering`, when given, names the axes instead of the host's controllers.
    bool loadData(const QByteArray& data, ParameterCustomListStorage::DefinitionSnapshot* definitions,
                  const ParameterCustomListRepository::AxisNumbering* numbering = nullptr);
    void readParameters(const QByteArray& data, const std::vector<ParameterCustomListStorage::ParameterLine>* lines,
                        const RnIniParser::IniSection* parameters,
                        ParameterCustomListStorage::DefinitionSnapshot* definitions);
    // Makes the entry objects of a loaded list, and lets the entries follow
    // the axes that are left when some went; every access to `entries`
    // other than saving goes through here first.
    void buildStoredEntries();
    // Announces the axes of the list when one of them goes.
    void watchAxis(DriveControllerAxis* axis);

    ParameterCustomListEntry* entryFor(const ParameterCoordinate& coordinate);
    ParameterCustomListEntry* takeEntry(const ParameterCoordinate& coordinate);
    void removeEntries(const QList<ParameterCoordinate>& coordinates);
    void deleteEntries();
    void clearAll();
    // Name, axes and entries of a list just loaded, which is left without
    // entries; the window states stay. Announced as loadData() announces.
    void takeContent(ParameterCustomListPrivate* loaded);

public slots:
    // For notices that reach the list's observers at once instead of queued.
    void announceAxesChanged();
    // The entries keep what the gone axis defined until they are next read:
    // a list saved now must hold what reading it back would make of it.
    void onAxisDestroyed();

public:

    ParameterCustomList* const q;
    QByteArray identifier;
    QString name;
    QHash<QByteArray, QByteArray> states;
    QList<QPointer<DriveControllerAxis>> axes;
    QMap<ParameterCoordinate, ParameterCustomListEntry*> entries;
    quint64 revision = 0;
    // A loaded list keeps its entries in this form until something needs the
    // objects (see loadData()); `entries` is empty meanwhile.
    std::vector<ParameterCustomListStorage::StoredEntry> storedEntries;
    bool axesLeft = false;   // an axis went since the entries last followed the axes
};
