#pragma once

#include "ChangeJournal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QString>

class DriveController;
class Project;

/**
 * The record a commissioning engineer hands over: one PDF with the project,
 * its file, the date and the user, every controller and axis with its online
 * and fault state, the journal entries of a period and, if chosen, the
 * differences of pairs of axes with their count.
 */
class CommissioningRecord
{
    Q_DECLARE_TR_FUNCTIONS(CommissioningRecord)

public:
    struct AxisPair
    {
        QPointer<DriveController> controllerA;
        int axisA = 0;
        QPointer<DriveController> controllerB;
        int axisB = 0;
    };

    struct Content
    {
        QString projectName;
        QString filePath;
        QString userName;
        QDateTime created;
        QDateTime from;   ///< invalid: from the first entry
        QDateTime to;     ///< invalid: up to now
        QList<DriveController*> controllers;
        QList<ChangeJournalEntry> entries;   ///< the whole journal; the period picks
        QList<AxisPair> comparisons;
    };

    /// The entries of the period, oldest first.
    static QList<ChangeJournalEntry> entriesOfPeriod(const Content& content);
    /// The record as a document (HTML for QTextDocument).
    static QString html(const Content& content);
    /// Writes the record as PDF; false with the reason in @p errorMessage.
    static bool writePdf(const QString& path, const Content& content, QString* errorMessage = nullptr);
    /// The user's name as the system knows it.
    static QString currentUserName();
};
