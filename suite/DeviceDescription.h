#pragma once

#include "KxSuiteGlobal.h"
#include "DeviceType.h"

#include <QList>
#include <QObject>
#include <QSharedPointer>
#include <QString>

#include <memory>

class DriveController;

/// Reads device descriptions (JSON, see docs/device-description.md): controller
/// types with their parameter catalogues, and the controllers of a project.
/// Loading several descriptions into one object accumulates their types.
class KXSUITE_EXPORT DeviceDescription
{
public:
    DeviceDescription();
    ~DeviceDescription();
    DeviceDescription(const DeviceDescription&) = delete;
    DeviceDescription& operator=(const DeviceDescription&) = delete;

    /// Reads a description. On failure nothing of it is kept and errorMessage()
    /// names what is wrong and where (file, line/column or JSON path, coordinate).
    /// Relative "includes" are resolved against the file's directory.
    bool loadFile(const QString& path);
    bool loadBytes(const QByteArray& json, const QString& sourceName = QStringLiteral("<description>"));
    QString errorMessage() const;

    QList<QSharedPointer<const DeviceType>> types() const;          ///< in order of reading
    QSharedPointer<const DeviceType> type(const QString& name) const;

    /// Creates the controllers described by the descriptions read so far (in
    /// order), with their axes, marking colours, faults, online state and values,
    /// and registers the types' help pages with the "parameter" help system.
    QList<DriveController*> createControllers(QObject* parent = nullptr) const;

    /// One call for tests and tools: the controllers of a description (bytes
    /// or file); empty, with `error` set, when it is refused.
    static QList<DriveController*> controllersFromBytes(const QByteArray& json, QObject* parent = nullptr, QString* error = nullptr);
    static QList<DriveController*> controllersFromFile(const QString& path, QObject* parent = nullptr, QString* error = nullptr);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

/// Large synthetic catalogues for tests and benchmarks: a description with one
/// type of `parameterCount` parameters (a mix of simple, array and record,
/// global and per axis, selection lists, read-only and inactive elements) and
/// `controllerCount` controllers of `axesPerController` axes each.
/// Deterministic for a seed.
KXSUITE_EXPORT QByteArray syntheticDeviceDescription(int parameterCount, int controllerCount, int axesPerController, quint32 seed = 1);

/// A catalogue of a known shape, for measurements that must know how many
/// rows a list shows: with `arrayEvery` > 0 the first parameter and every
/// `arrayEvery`-th after it is an array of exactly `arrayLength` elements and
/// all others are single values (no records). `arrayEvery` = 0 is the mix above.
struct SyntheticShape
{
    int arrayEvery = 0;
    int arrayLength = 8;
};
KXSUITE_EXPORT QByteArray syntheticDeviceDescription(int parameterCount, int controllerCount, int axesPerController, quint32 seed,
                                                     const SyntheticShape& shape);
