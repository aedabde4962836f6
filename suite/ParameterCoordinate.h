#pragma once

#include "KxSuiteGlobal.h"

#include <QMetaType>
#include <QString>

/// Identifies one parameter independently of device and element.
/// Text form: a letter followed by two or three digits ("A12", "P105").
/// Letters are read case-insensitively; "A012" and "A12" are the same
/// coordinate, whose text is written with two digits below 100 ("A12") and
/// three from 100 on ("A100").
class KXSUITE_EXPORT ParameterCoordinate
{
public:
    ParameterCoordinate();   ///< invalid; number 0, empty text
    explicit ParameterCoordinate(const QString& text);  ///< surrounding blanks are ignored; anything else that is not the text form gives an invalid coordinate that keeps the text
    explicit ParameterCoordinate(quint16 number);       ///< inverse of toNumber(); 0 and numbers no coordinate has give an invalid coordinate
    ParameterCoordinate(const ParameterCoordinate& other);
    ParameterCoordinate& operator=(const ParameterCoordinate& other);
    virtual ~ParameterCoordinate();

    bool isValid() const;
    QChar letter() const;     ///< upper case; null for an invalid coordinate
    int index() const;        ///< 0..999; -1 for an invalid coordinate

    /// The canonical text; for an invalid coordinate the text it was made of.
    QString toText() const;
    /// Unique per valid coordinate: (letter - 'A') * 1000 + index + 1 (1..26000); 0 for every invalid one.
    quint16 toNumber() const;

    /// Ordered by number, so A20 sorts before A100 and every A before B;
    /// invalid coordinates come first, among themselves ordered by their text.
    bool operator<(const ParameterCoordinate& other) const;
    bool operator==(const ParameterCoordinate& other) const;
    bool operator!=(const ParameterCoordinate& other) const { return !(*this == other); }

private:
    quint16 m_number = 0;
    QString m_invalidText;
};

KXSUITE_EXPORT uint qHash(const ParameterCoordinate& coordinate, uint seed = 0);

Q_DECLARE_METATYPE(ParameterCoordinate)
