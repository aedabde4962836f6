#pragma once

#include "ParameterCoordinate.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

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

    ParameterCustomListEntry* entryFor(const ParameterCoordinate& coordinate);
    ParameterCustomListEntry* takeEntry(const ParameterCoordinate& coordinate);
    void removeEntries(const QList<ParameterCoordinate>& coordinates);
    void deleteEntries();
    void clearAll();

public slots:
    // For notices that reach the list's observers at once instead of queued.
    void announceAxesChanged();

public:

    ParameterCustomList* const q;
    QByteArray identifier;
    QString name;
    QHash<QByteArray, QByteArray> states;
    QList<QPointer<DriveControllerAxis>> axes;
    QMap<ParameterCoordinate, ParameterCustomListEntry*> entries;
    quint64 revision = 0;
};
