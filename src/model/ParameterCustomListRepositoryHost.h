#pragma once

#include "kxparametercustomlist_export.h"

#include <QList>
#include <QObject>

class DriveController;

/**
 * The application's side of the variable parameter lists: it tells the
 * library which drive controllers the open project has.
 *
 * The application derives from this class, owns the object, and hands it to
 * ParameterCustomListRepository::initialize(). The repository holds it through
 * a guarded pointer; destroying the host is allowed at any time and makes the
 * repository see no controllers.
 */
class KXPARAMETERCUSTOMLIST_EXPORT ParameterCustomListRepositoryHost : public QObject
{
    Q_OBJECT

public:
    ParameterCustomListRepositoryHost();
    ~ParameterCustomListRepositoryHost() override;

    /**
     * The project's drive controllers in project order. The position of a
     * controller in this list is stored with the lists (it names the axes of
     * a list), so the order must be the same when a project is saved and
     * when it is loaded again.
     */
    virtual QList<DriveController*> driveControllers() = 0;

signals:
    /// To be emitted whenever controllers or their axes were added, removed
    /// or renumbered.
    void hostContentChanged();
};
