#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class DeviceTypeLibrary;
class DriveController;

/**
 * The stored form of a project's controllers: one JSON document with, per
 * controller in project order, its type name, name, descriptive text,
 * read-only switch, axes (number, name, marking colour), Modbus TCP
 * connection (when it has one) and every value that differs from its
 * default, as raw value text.
 */
class ProjectCodec
{
    Q_DECLARE_TR_FUNCTIONS(ProjectCodec)

public:
    struct DecodeResult
    {
        /// False when the document as a whole cannot be used; see error.
        bool ok = false;
        QString error;
        /// Controllers built from the document, unparented, in stored order.
        QList<DriveController*> controllers;
        /// One German line per controller, axis or value that was left out.
        QStringList skipped;
    };

    static int formatVersion();

    /// @p library, when given, adds the file each type came from, so that a
    /// project can find a type again that is not in the types directory.
    static QByteArray encode(const QList<DriveController*>& controllers, const DeviceTypeLibrary* library = nullptr);

    /// Builds the controllers of @p bytes with types from @p library. Unknown
    /// types, axes that cannot be added and refused values are left out and
    /// listed in DecodeResult::skipped; the rest is restored. The restored
    /// controllers count as saved (needSave() false).
    static DecodeResult decode(const QByteArray& bytes, DeviceTypeLibrary* library);
};
