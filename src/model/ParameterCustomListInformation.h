#pragma once

#include "kxparametercustomlist_export.h"

#include <QByteArray>
#include <QObject>
#include <QString>

/**
 * One variable parameter list as the application and the library's windows
 * see it: identity, name, parameters added and removed by text, and the text
 * exchange form.
 *
 * Lists are created and deleted only by ParameterCustomListRepository. All
 * change signals are delivered through the event queue, never from inside
 * the call that caused them.
 */
class KXPARAMETERCUSTOMLIST_EXPORT ParameterCustomListInformation : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCustomListInformation(QObject* parent = nullptr);
    ~ParameterCustomListInformation() override;

    /// The braced UUID text by which the list is found.
    virtual QString identifier() const = 0;
    /// The display name; free text, not necessarily unique.
    virtual QString name() const = 0;
    /// Adds a parameter ("A12") or one element of it ("A12[3]").
    virtual void addEntry(QString parameter) = 0;
    /// Removes a whole parameter ("A12") or one element of it ("A12[3]").
    virtual void removeEntry(QString parameter) = 0;
    /// One line per parameter, "\r\n" after each line.
    virtual QByteArray exportText() const = 0;
    /// Merges the lines of an exported text into the list.
    virtual void importText(QByteArray text) = 0;

signals:
    void listNameChanged();
    void listAxesChanged();
    void listEntriesChanged();
    /// Emitted synchronously before the list is serialised, so that windows
    /// can store their state in the list first.
    void prepareSaveData();
};
