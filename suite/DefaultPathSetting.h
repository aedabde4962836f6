#pragma once

#include "KxSuiteGlobal.h"

#include <QCoreApplication>
#include <QString>

/**
 * Where the file dialogs of one kind of file open. Each kind remembers the
 * last file that was written or read successfully; the remembered paths are
 * kept in the user's settings and so survive a restart.
 */
class KXSUITE_EXPORT DefaultPathSetting
{
    Q_DECLARE_TR_FUNCTIONS(DefaultPathSetting)

public:
    enum eSettingDefaultPaths {
        ProjectFiles = 0,
        DeviceDescriptions = 1,
        ParameterExports = 2,
        Firmware = 3,
        Logs = 4,
        ParameterSelectionFiles = 5,
        Scope = 6,
        Oscilloscope = 7,
        Screenshots = 8,
        Backups = 9,
        Scripts = 10,
        Licences = 11,
        Recipes = 12,
        ComparisonReports = 13
    };

    /// A new setting for @p kind; the caller owns and deletes it. Numbers
    /// outside the enumeration get a setting of their own as well.
    static DefaultPathSetting* create(eSettingDefaultPaths kind);

    eSettingDefaultPaths kind() const;

    /// The directory in which a file dialog opens: that of the last
    /// remembered file while it exists, else the user's documents directory.
    QString currentPath() const;

    /// A full path to propose in a save dialog: the last remembered file
    /// while its directory exists, else currentPath() followed by the kind's
    /// German default file name.
    QString suggestedPath() const;

    /// Remembers @p fileName, the full name of a file just written or read
    /// successfully. A relative name is taken relative to the working
    /// directory; an empty one is ignored.
    void rememberPath(const QString& fileName);

    /// The default file name of @p kind, e.g. "Achsvergleich.html".
    static QString defaultFileName(eSettingDefaultPaths kind);

    /// The user's documents directory, created when it is missing; the home
    /// directory where it cannot be had.
    static QString defaultDirectory();

private:
    explicit DefaultPathSetting(eSettingDefaultPaths kind);
    Q_DISABLE_COPY(DefaultPathSetting)

    QString rememberedFile() const;
    QString settingsKey() const;

    const eSettingDefaultPaths m_kind;
};
