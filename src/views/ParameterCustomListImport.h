#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

class QWidget;

/**
 * What a list import checks before it changes anything. Every line that
 * starts like a parameter name becomes an entry, so a file that is no list
 * at all (binary data, or far more lines than any list has) would fill a
 * list with junk: such a file is imported only when the user says so.
 */
class ParameterCustomListImport
{
    Q_DECLARE_TR_FUNCTIONS(ParameterCustomListImport)

public:
    ParameterCustomListImport() = delete;

    /// More lines than this make the import ask first.
    static int lineLimit();

    /// Why @p text is unlikely to be a list, as part of a sentence; empty
    /// when it looks like one.
    static QString doubt(const QByteArray& text);

    /// True when @p text may be imported: it looks like a list, or the user,
    /// asked what the import would do, said yes. The caller must check
    /// afterwards whether its objects are still there.
    static bool confirm(QWidget* parent, const QString& title, const QString& fileName, const QByteArray& text);
};
