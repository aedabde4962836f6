#pragma once

#include "DriveControllerAxis.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

class QCompleter;
class QStringListModel;

// What the "Parameter hinzufügen" field offers and understands: every
// parameter that one of the list's axes has, as "C10 Drehzahlregler
// Verstärkung" in the active language, found by coordinate or by any part of
// its name.
class ParameterCustomListCompletion : public QObject
{
    Q_OBJECT

public:
    // What a text typed into the field stands for.
    struct Resolution
    {
        enum Kind {
            Known,       // a parameter (or element) of one of the axes
            Unknown,     // a coordinate none of the axes has
            NoMatch,     // neither a coordinate nor part of a known name
            Ambiguous    // part of several names
        };
        Kind kind = NoMatch;
        QString parameter;   // "C10" or "C32[2]", upper case; empty unless Known or Unknown
        int matches = 0;     // the number of parameters the text fits
    };

    explicit ParameterCustomListCompletion(QObject* parent = nullptr);
    ~ParameterCustomListCompletion() override;

    QCompleter* completer() const;
    // Collects the parameters of the axes anew; names in the active language.
    void setAxes(const QList<QPointer<DriveControllerAxis>>& axes);
    void refresh();
    QStringList entries() const;
    Resolution resolve(const QString& text) const;

private:
    QCompleter* const m_completer;
    QStringListModel* const m_model;
    QList<QPointer<DriveControllerAxis>> m_axes;
    QSet<quint16> m_known;
};
