#pragma once

#include "ParameterCustomListInformation.h"

#include "ParameterCoordinate.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>

class DriveControllerAxis;
class ParameterCustomListEntry;
class ParameterCustomListPrivate;

// A variable parameter list: its axes in column order, one entry per
// parameter coordinate, the opaque states of its windows, and its stored form.
class ParameterCustomList : public ParameterCustomListInformation
{
    Q_OBJECT

public:
    explicit ParameterCustomList(QObject* parent = nullptr);
    ~ParameterCustomList() override;

    QString identifier() const override;
    QString name() const override;
    void addEntry(QString parameter) override;
    void removeEntry(QString parameter) override;
    QByteArray exportText() const override;
    void importText(QByteArray text) override;

    void setName(const QString& name);

    // Destroyed axes are dropped from the list before the copy is made.
    QList<QPointer<DriveControllerAxis>> axes();
    void setAxes(const QList<QPointer<DriveControllerAxis>>& axes);

    QMap<ParameterCoordinate, ParameterCustomListEntry*>& entries();
    void clearEntries();
    void setCoordinates(const QList<ParameterCoordinate>& coordinates);

    QByteArray state(const QByteArray& key) const;
    void setState(const QByteArray& key, const QByteArray& value);

    // Counts the changes announced with listAxesChanged() or
    // listEntriesChanged(), also those dropped during a project load: a view
    // that has shown the list at this count can skip the notices still queued.
    quint64 revision() const;
    // Emits listAxesChanged() at once, counted as a change: for events that
    // concern the axes but not the list itself (the host's controllers).
    void announceAxesChanged();

    QByteArray saveData();
    bool loadData(const QByteArray& data);

private:
    friend class ParameterCustomListPrivate;
    friend class ParameterCustomListRepository;   // loads share one definition snapshot; restores read into a list of their own
    ParameterCustomListPrivate* const d;
};
