#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterCoordinate.h"

#include <QMetaType>
#include <QString>

/// One parameter element on one device: coordinate, element index and living
/// space (axis number, 0 for device-wide, LivingSpaceNone when unknown).
///
/// Text forms read by the parsing constructor:
///  - "A12", "A12[3]" (as typed by a user; element 0 when there are no brackets)
///  - "2.A12[3]", "0.A12" (with living space, as the suite's parameter views produce)
///  - the sortable form "02.A012[00003]" (see toSortableText())
/// The element is decimal, 0..65535. With lenient = true, surrounding blanks
/// and a lower-case letter are accepted too; with false only the exact forms.
class KXSUITE_EXPORT ParameterAddress
{
public:
    ParameterAddress();   ///< invalid
    /// hasElement() is true for addresses made this way.
    ParameterAddress(const ParameterCoordinate& coordinate, quint16 element, eLivingSpace livingSpace = LivingSpaceNone);
    ParameterAddress(const QString& text, bool lenient);
    ParameterAddress(const ParameterAddress& other);
    ParameterAddress& operator=(const ParameterAddress& other);
    virtual ~ParameterAddress();

    bool isValid() const;
    ParameterCoordinate coordinate() const;
    quint16 element() const;
    bool hasElement() const;           ///< the parsed text carried an element in brackets
    eLivingSpace livingSpace() const;  ///< LivingSpaceNone when the text had no living space

    /// "A12[3]", with "2." in front when the living space is not LivingSpaceNone.
    /// The brackets are left out when the address was parsed from a text
    /// without them ("A12", "0.A12"). Empty for an invalid address.
    QString toText() const;
    /// Fixed-width form that sorts like the addresses: living space in two
    /// digits (or "-" when none), ".", letter, three digits, "[", five digits,
    /// "]": "02.A012[00003]", so that axes 10 to 16 sort after axis 9.
    QString toSortableText() const;

    /// hasElement() does not count: "A12" and "A12[0]" are the same address.

    bool operator==(const ParameterAddress& other) const;
    bool operator!=(const ParameterAddress& other) const { return !(*this == other); }

private:
    ParameterCoordinate m_coordinate;
    quint16 m_element = 0;
    eLivingSpace m_livingSpace = LivingSpaceNone;
    bool m_valid = false;
    bool m_hasElement = false;
};

KXSUITE_EXPORT uint qHash(const ParameterAddress& address, uint seed = 0);

Q_DECLARE_METATYPE(ParameterAddress)
