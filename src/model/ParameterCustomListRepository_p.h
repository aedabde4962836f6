#pragma once

#include "ParameterCustomListHost.h"
#include "ParameterCustomListRepositoryHost.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>

class ParameterCustomList;
class ParameterCustomListRepository;

class ParameterCustomListRepositoryPrivate : public QObject, public ParameterCustomListHost
{
    Q_OBJECT

public:
    explicit ParameterCustomListRepositoryPrivate(ParameterCustomListRepository* q);
    ~ParameterCustomListRepositoryPrivate() override;

    QStringList customListIdentifiers() override;
    QString customListName(QString identifier) override;
    void addParameterToCustomList(QString identifier, QString parameter) override;
    void removeParameterFromCustomList(QString identifier, QString parameter) override;

    ParameterCustomList* findList(const QString& identifier) const;
    // Makes a list that this object already parents one of the repository's,
    // at `position` in the order.
    void adopt(ParameterCustomList* list, int position);
    QList<DriveController*> hostControllers() const;

    /// False once the repository is being destroyed; lists then post nothing.
    static bool repositoryAlive();

    ParameterCustomListRepository* const q;
    QPointer<ParameterCustomListRepositoryHost> host;
    QList<ParameterCustomList*> lists;
    // Stored items that a list refused, kept byte for byte for the next save.
    QList<QByteArray> unreadableItems;

public slots:
    void onRepositoryHostContentChanged();
};
