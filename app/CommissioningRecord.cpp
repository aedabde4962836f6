#include "CommissioningRecord.h"

#include "AxisCompareView.h"
#include "DriveController.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QSaveFile>
#include <QTextDocument>
#include <QTreeWidget>

#include <memory>

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QString cell(const QString& text, const char* tag = "td")
{
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), escaped(text));
}

QString dateTime(const QDateTime& time)
{
    return ChangeJournal::timeText(time);
}

QString axisText(const ChangeJournalEntry& entry)
{
    return entry.axisNumber == 0 ? CommissioningRecord::tr("Gerät") : QStringLiteral("%1 %2").arg(entry.axisNumber).arg(entry.axisName).trimmed();
}

// The differing rows of a comparison of two axes, worked out by the
// comparison view itself so that the record says what the screen says.
QString comparisonSection(const CommissioningRecord::AxisPair& pair)
{
    if (!pair.controllerA || !pair.controllerB)
        return QString();
    const std::unique_ptr<AxisCompareView> view(AxisCompareView::createAxisCompareView());
    view->setAxisA(pair.controllerA, pair.axisA);
    view->setAxisB(pair.controllerB, pair.axisB);
    view->compare();
    QString html = QStringLiteral("<h3>%1</h3>").arg(escaped(CommissioningRecord::tr("A: %1, %2 – B: %3, %4")
                                                             .arg(pair.controllerA->name(), pair.controllerA->axisName(pair.axisA),
                                                                  pair.controllerB->name(), pair.controllerB->axisName(pair.axisB))));
    html += QStringLiteral("<p>%1</p>").arg(escaped(view->summaryText()));
    auto* tree = view->findChild<QTreeWidget*>(QStringLiteral("parameterTreeWidget"));
    QString rows;
    for (int i = 0; tree && i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = tree->topLevelItem(i);
        QList<QTreeWidgetItem*> lines{row};
        for (int j = 0; j < row->childCount(); ++j)
            lines.append(row->child(j));
        for (QTreeWidgetItem* line : qAsConst(lines)) {
            if (line->text(1) != line->text(2))
                rows += QStringLiteral("<tr>") + cell(line->text(0)) + cell(line->text(1)) + cell(line->text(2)) + QStringLiteral("</tr>");
        }
    }
    if (!rows.isEmpty()) {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>")
            + cell(CommissioningRecord::tr("Parameter"), "th") + cell(CommissioningRecord::tr("Achse A"), "th") + cell(CommissioningRecord::tr("Achse B"), "th") + QStringLiteral("</tr>")
            + rows + QStringLiteral("</table>");
    }
    return html;
}

} // namespace

QList<ChangeJournalEntry> CommissioningRecord::entriesOfPeriod(const Content& content)
{
    QList<ChangeJournalEntry> chosen;
    for (const ChangeJournalEntry& entry : content.entries) {
        if (content.from.isValid() && entry.time < content.from)
            continue;
        if (content.to.isValid() && entry.time > content.to)
            continue;
        chosen.append(entry);
    }
    return chosen;
}

QString CommissioningRecord::html(const Content& content)
{
    QString html = QStringLiteral("<html><body style=\"font-size: 9pt\">");
    html += QStringLiteral("<h1>%1</h1>").arg(escaped(tr("Inbetriebnahmeprotokoll")));
    html += QStringLiteral("<table cellpadding=\"2\">");
    const QList<QPair<QString, QString>> facts{
        {tr("Projekt"), content.projectName},
        {tr("Datei"), content.filePath.isEmpty() ? tr("(nicht gespeichert)") : QDir::toNativeSeparators(content.filePath)},
        {tr("Erstellt"), dateTime(content.created)},
        {tr("Bearbeiter"), content.userName},
        {tr("Zeitraum"), QStringLiteral("%1 – %2").arg(content.from.isValid() ? dateTime(content.from) : tr("Beginn"),
                                                        content.to.isValid() ? dateTime(content.to) : tr("jetzt"))}};
    for (const auto& fact : facts)
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(escaped(fact.first), escaped(fact.second));
    html += QStringLiteral("</table>");

    html += QStringLiteral("<h2>%1</h2>").arg(escaped(tr("Antriebsregler und Achsen")));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>") + cell(tr("Antriebsregler"), "th")
        + cell(tr("Gerät"), "th") + cell(tr("Achse"), "th") + cell(tr("Zustand"), "th") + QStringLiteral("</tr>");
    for (DriveController* controller : content.controllers) {
        if (!controller)
            continue;
        const QString device = controller->descriptor() ? controller->descriptor()->text() : QString();
        for (int number : controller->axisNumbers()) {
            QString state = controller->isOnline() ? tr("online") : tr("offline");
            if (controller->hasAxisFault(number))
                state += QStringLiteral(", ") + tr("Störung");
            html += QStringLiteral("<tr>") + cell(controller->name()) + cell(device)
                + cell(QStringLiteral("%1 %2").arg(number).arg(controller->axisName(number))) + cell(state) + QStringLiteral("</tr>");
        }
    }
    html += QStringLiteral("</table>");

    const QList<ChangeJournalEntry> entries = entriesOfPeriod(content);
    html += QStringLiteral("<h2>%1</h2>").arg(escaped(tr("Änderungen (%1)").arg(entries.size())));
    if (entries.isEmpty()) {
        html += QStringLiteral("<p>%1</p>").arg(escaped(tr("Im Zeitraum wurde kein Wert geschrieben.")));
    } else {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>") + cell(tr("Zeit"), "th")
            + cell(tr("Antriebsregler"), "th") + cell(tr("Achse"), "th") + cell(tr("Adresse"), "th") + cell(tr("Parameter"), "th")
            + cell(tr("Alter Wert"), "th") + cell(tr("Neuer Wert"), "th") + cell(tr("Quelle"), "th") + cell(tr("Ergebnis"), "th")
            + QStringLiteral("</tr>");
        for (const ChangeJournalEntry& entry : entries) {
            QString outcome = ChangeJournal::outcomeText(entry.outcome);
            if (!entry.reason.isEmpty())
                outcome += QStringLiteral(": ") + entry.reason;
            html += QStringLiteral("<tr>") + cell(dateTime(entry.time)) + cell(entry.controller) + cell(axisText(entry))
                + cell(entry.address) + cell(entry.parameter) + cell(entry.oldValue) + cell(entry.newValue) + cell(entry.source)
                + cell(outcome) + QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }

    if (!content.comparisons.isEmpty()) {
        // The comparisons start a page of their own rather than a table head
        // left at the foot of the last page of changes.
        html += QStringLiteral("<h2 style=\"page-break-before: always\">%1</h2>").arg(escaped(tr("Achsvergleiche")));
        for (const AxisPair& pair : content.comparisons)
            html += comparisonSection(pair);
    }
    html += QStringLiteral("</body></html>");
    return html;
}

bool CommissioningRecord::writePdf(const QString& path, const Content& content, QString* errorMessage)
{
    // Written beside the target and moved over it at the end: a record that
    // fails half way leaves an older one as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (errorMessage)
            *errorMessage = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(tr("Inbetriebnahmeprotokoll") + QStringLiteral(" – ") + content.projectName);
        writer.setCreator(QCoreApplication::applicationName());
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        writer.setResolution(300);
        // Laid out for the writer's page here: QTextDocument::print() would
        // lay it out again with 2 cm margins of its own inside the page's.
        QTextDocument document;
        document.documentLayout()->setPaintDevice(&writer);
        document.setHtml(html(content));
        QPainter painter(&writer);
        const qreal footer = painter.fontMetrics().height() * 2.0;
        const QSizeF page(writer.width(), writer.height() - footer);
        document.setPageSize(page);
        const int pages = document.pageCount();
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                writer.newPage();
            painter.save();
            painter.translate(0, -i * page.height());
            document.drawContents(&painter, QRectF(QPointF(0, i * page.height()), page));
            painter.restore();
            painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                             tr("Seite %1 von %2").arg(i + 1).arg(pages));
        }
    }
    if (!file.commit()) {
        if (errorMessage)
            *errorMessage = file.errorString();
        return false;
    }
    return true;
}

QString CommissioningRecord::currentUserName()
{
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = QString::fromLocal8Bit(qgetenv(variable));
        if (!name.isEmpty())
            return name;
    }
    return QDir::home().dirName();
}
