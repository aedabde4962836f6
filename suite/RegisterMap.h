#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterDescription.h"

#include <QCoreApplication>
#include <QHash>
#include <QSharedPointer>
#include <QString>
#include <QVector>

#include <memory>

struct DeviceType;

/// How one element's value is held in a device's holding registers.
struct KXSUITE_EXPORT RegisterSlot
{
    enum Type { Int16, UInt16, Int32, UInt32, Float32, String };

    quint16 element = 0;        ///< element index of the parameter
    quint32 offset = 0;         ///< first register, relative to the living space's base
    quint16 count = 1;          ///< registers taken
    Type type = Int32;
    double scale = 1;           ///< register value x scale = parameter value (numbers only)
    bool lowWordFirst = false;  ///< 32-bit types: low word in the first register

    static QString typeName(Type type);
    static int registerCount(Type type);   ///< 0 for strings (they give their own count)
};

/// Where a living space's registers are: a unit id (-1: the connection's) and
/// the register its addresses count from.
struct KXSUITE_EXPORT RegisterSpace
{
    int unitId = -1;
    quint32 base = 0;
};

/// One element's registers on a device.
struct KXSUITE_EXPORT RegisterLocation
{
    int unitId = -1;
    quint16 address = 0;
    const RegisterSlot* slot = nullptr;
    bool isValid() const { return slot != nullptr; }
};

/// The holding-register map of a controller type: where every element that
/// carries a value lives in every living space, and how values are coded.
/// Either given in the device description, or derived from the catalogue
/// (see docs/device-description.md).
class KXSUITE_EXPORT RegisterMap
{
    Q_DECLARE_TR_FUNCTIONS(RegisterMap)

public:
    /// The default map's window of one living space: living space n starts at n x this.
    static constexpr quint32 DefaultSpaceWindow = 3840;

    RegisterMap();
    ~RegisterMap();
    RegisterMap(const RegisterMap&) = delete;
    RegisterMap& operator=(const RegisterMap&) = delete;

    /// The map derived from the catalogue; isValid() is false, with a
    /// message, when the catalogue does not fit into it.
    static QSharedPointer<const RegisterMap> derived(const DeviceType& type);
    /// The type's own map (explicit or derived when it was read), or a derived one.
    static QSharedPointer<const RegisterMap> of(const DeviceType& type);

    bool isValid() const;
    QString errorMessage() const;
    bool isExplicit() const;

    RegisterLocation locate(const ParameterCoordinate& coordinate, eLivingSpace valueSpace, quint16 element) const;
    QVector<RegisterSlot> registerSlots(const ParameterCoordinate& coordinate) const;
    RegisterSpace space(eLivingSpace valueSpace) const;

    /// The registers of a raw value; empty with `problem` set (German, for the
    /// user) when it cannot be held there.
    static QVector<quint16> encode(const ParameterElementDescription& element, const RegisterSlot& slot, const QString& raw, QString* problem);
    /// The raw value held in `registers` (slot.count of them).
    static QString decode(const ParameterElementDescription& element, const RegisterSlot& slot, const quint16* registers);
    /// Empty when the element's values fit the slot's type; otherwise why not.
    static QString slotProblem(const ParameterElementDescription& element, const RegisterSlot& slot);

    // --- building (description reader) -------------------------------------
    void setExplicit(bool isExplicit);
    void setSpace(eLivingSpace valueSpace, const RegisterSpace& space);
    void addSlots(const ParameterCoordinate& coordinate, const QVector<RegisterSlot>& registerSlots);
    void setError(const QString& message);
    /// Empty when every register of `type` is used once; otherwise what
    /// overlaps, naming both coordinates.
    QString overlapProblem(const DeviceType& type) const;

private:
    class Private;
    std::unique_ptr<Private> const d;
};
