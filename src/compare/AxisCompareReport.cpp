#include "AxisCompareReport.h"
#include "TreeItemCells_p.h"

#include "DriveController.h"

#include <QFile>
#include <QTextStream>
#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {

const QString textPlaceholder = QStringLiteral("%TEXT%");
const QString colorPlaceholder = QStringLiteral("%COLOR%");

// Fills the one cell of a fragment before it joins the row, so that a label
// that happens to contain the placeholder cannot be filled in turn.
QString cell(const char* fragment, const QString& text)
{
    return QString::fromUtf8(fragment).replace(textPlaceholder, text);
}

} // namespace

AxisCompareReport::Side AxisCompareReport::side(const DriveController* controller, int axisNumber)
{
    Side result;
    if (!controller)
        return result;
    const DriveControllerDescriptor* descriptor = controller->descriptor();
    result.controllerName = controller->name() + QStringLiteral(" - ")
        + (descriptor ? descriptor->text() : QString());
    result.axisName = controller->axisName(axisNumber);
    return result;
}

bool AxisCompareReport::valuesDiffer(const QTreeWidgetItem* row)
{
    // Our rows answer without a variant per text.
    if (const KxTreeItem::CompactRow* compact = KxTreeItem::compactRow(row)) {
        const QString& a = compact->cellText(1);
        const QString& b = compact->cellText(2);
        if (!a.isNull() && !b.isNull())
            return a != b;
    }
    return row->text(1) != row->text(2);
}

QString AxisCompareReport::rowText(const QTreeWidgetItem* row, int level)
{
    const QString color = valuesDiffer(row) ? QStringLiteral("ffff00") : QStringLiteral("ffffff");

    QString html;
    QString label = row->text(0);
    if (label.isEmpty()) {
        html += QStringLiteral("<tr><td>&nbsp;</td>");
    } else {
        if (row->childCount() > 0)
            label.prepend(QStringLiteral("\u25BE "));
        // The label is the parameter's own name and goes in as it stands.
        html += level == 1
            ? cell("<tr style=\"height: 18px;\"><td style=\"background-color: #%COLOR%; padding-left: 40px;\">%TEXT%</td>", label)
            : cell("<tr style=\"height: 18px;\"><td style=\"background-color: #%COLOR%;\">%TEXT%</td>", label);
    }
    html += cell("<td style=\"background-color: #%COLOR%;\">%TEXT%</td>", row->text(1).toHtmlEscaped());
    html += cell("<td style=\"background-color: #%COLOR%;\">%TEXT%</td></tr>", row->text(2).toHtmlEscaped());
    html.replace(colorPlaceholder, color);

    for (int i = 0; i < row->childCount(); ++i)
        html += rowText(row->child(i), 1);
    return html;
}

QString AxisCompareReport::body(const QTreeWidget* tree, const Side& a, const Side& b)
{
    QString html = QStringLiteral(
        "<form><fieldset><legend>%PROJECT%</legend>"
        "<table style=\"height: 111px; width: 100 %; border - collapse: collapse; border - style: hidden;\">"
        "<tbody><tr style=\"height: 111px;\">"
        "<td style=\"width: 50%; height: 111px;\"><fieldset><legend>%DRIVECONTROLLERATEXT%<br /></legend>"
        "<p>%DRIVECONTROLLERTEXT%: %DRIVECONTROLLERANAME%</p><p>%AXISTEXT%: %AXISANAME%</p></fieldset></td>"
        "<td style=\"width: 50%; height: 111px;\"><fieldset><legend>%DRIVECONTROLLERBTEXT%<br /></legend>"
        "<p>%DRIVECONTROLLERTEXT%: %DRIVECONTROLLERBNAME%</p><p>%AXISTEXT%: %AXISBNAME%</p></fieldset></td>"
        "<td style=\"width: 50%; height: 111px;\">&nbsp;</td></tr></tbody></table>"
        "<form><fieldset><legend>%DRIVECONTROLLERTEXT%</legend>"
        "<table style=\"height: 72px; width: 100%; border-collapse: collapse; border-style: solid;\" border=\"1\">");

    html += rowText(tree->headerItem(), 0);
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        html += rowText(tree->topLevelItem(i), 0);
    html += QStringLiteral("</tbody></table></fieldset></form></fieldset></form>");

    html.replace(QStringLiteral("%PROJECT%"), tr("Projektierung"));
    html.replace(QStringLiteral("%DRIVECONTROLLERATEXT%"), tr("Antriebsregler A"));
    html.replace(QStringLiteral("%DRIVECONTROLLERBTEXT%"), tr("Antriebsregler B"));
    html.replace(QStringLiteral("%DRIVECONTROLLERTEXT%"), tr("Antriebsregler"));
    html.replace(QStringLiteral("%DRIVECONTROLLERANAME%"), a.controllerName);
    html.replace(QStringLiteral("%DRIVECONTROLLERBNAME%"), b.controllerName);
    html.replace(QStringLiteral("%AXISTEXT%"), tr("Achse"));
    html.replace(QStringLiteral("%AXISANAME%"), a.axisName);
    html.replace(QStringLiteral("%AXISBNAME%"), b.axisName);
    return html;
}

QString AxisCompareReport::document(const QString& body)
{
    return QStringLiteral("<html>\n<meta charset=\"UTF-8\"><body>\n<br><br>\n") + body
        + QStringLiteral("</body>\n</html>\n");
}

bool AxisCompareReport::write(const QString& fileName, const QString& document)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
        return false;
    QTextStream stream(&file);
    stream.setCodec("UTF-8");
    stream.setGenerateByteOrderMark(false);
    stream << document;
    stream.flush();
    return stream.status() == QTextStream::Ok && file.error() == QFileDevice::NoError;
}
