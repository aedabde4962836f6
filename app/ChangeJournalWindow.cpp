#include "ChangeJournalWindow.h"
#include "ui_ChangeJournalWindow.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>

namespace {

constexpr int EntryRole = Qt::UserRole;

QString axisText(const ChangeJournalEntry& entry)
{
    if (entry.axisNumber == 0)
        return ChangeJournalWindow::tr("Gerät");
    return QStringLiteral("%1 %2").arg(entry.axisNumber).arg(entry.axisName).trimmed();
}

} // namespace

ChangeJournalWindow::ChangeJournalWindow(ChangeJournal* journal, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ChangeJournalWindow)
    , m_journal(journal)
{
    ui->setupUi(this);
    ui->entryTree->header()->setSectionResizeMode(QHeaderView::Interactive);
    ui->entryTree->setSortingEnabled(false);

    // Writes come in bursts; the window follows once per turn of the event loop.
    m_rebuildTimer = new QTimer(this);
    m_rebuildTimer->setSingleShot(true);
    m_rebuildTimer->setInterval(0);
    connect(m_rebuildTimer, &QTimer::timeout, this, &ChangeJournalWindow::rebuild);

    connect(journal, &ChangeJournal::entryAdded, this, &ChangeJournalWindow::scheduleRebuild);
    connect(journal, &ChangeJournal::entryChanged, this, &ChangeJournalWindow::scheduleRebuild);
    connect(journal, &ChangeJournal::entriesReset, this, &ChangeJournalWindow::scheduleRebuild);
    connect(ui->controllerFilter, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ChangeJournalWindow::rebuild);
    connect(ui->axisFilter, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ChangeJournalWindow::rebuild);
    connect(ui->textFilter, &QLineEdit::textChanged, this, &ChangeJournalWindow::rebuild);
    connect(ui->exportCsv, &QPushButton::clicked, this, &ChangeJournalWindow::onExportClicked);
    connect(ui->entryTree, &QTreeWidget::itemDoubleClicked, this, &ChangeJournalWindow::onItemDoubleClicked);
    rebuild();
    for (int column = 0; column < ui->entryTree->columnCount(); ++column)
        ui->entryTree->resizeColumnToContents(column);
}

ChangeJournalWindow::~ChangeJournalWindow() = default;

void ChangeJournalWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        rebuild();
    }
    QWidget::changeEvent(event);
}

void ChangeJournalWindow::scheduleRebuild()
{
    if (!m_rebuildTimer->isActive())
        m_rebuildTimer->start();
}

// The filters offer what the journal holds, keeping the choice made.
void ChangeJournalWindow::fillFilters()
{
    const QString controller = ui->controllerFilter->currentData().toString();
    const QString axis = ui->axisFilter->currentData().toString();
    QStringList controllers;
    QStringList axes;
    for (const ChangeJournalEntry& entry : m_journal ? m_journal->entries() : QList<ChangeJournalEntry>()) {
        if (!controllers.contains(entry.controller))
            controllers.append(entry.controller);
        if (!axes.contains(axisText(entry)))
            axes.append(axisText(entry));
    }
    controllers.sort(Qt::CaseInsensitive);
    axes.sort(Qt::CaseInsensitive);
    const QSignalBlocker quietControllers(ui->controllerFilter);
    const QSignalBlocker quietAxes(ui->axisFilter);
    ui->controllerFilter->clear();
    ui->controllerFilter->addItem(tr("Alle Antriebsregler"), QString());
    for (const QString& name : qAsConst(controllers))
        ui->controllerFilter->addItem(name, name);
    ui->controllerFilter->setCurrentIndex(qMax(0, ui->controllerFilter->findData(controller)));
    ui->axisFilter->clear();
    ui->axisFilter->addItem(tr("Alle Achsen"), QString());
    for (const QString& name : qAsConst(axes))
        ui->axisFilter->addItem(name, name);
    ui->axisFilter->setCurrentIndex(qMax(0, ui->axisFilter->findData(axis)));
}

bool ChangeJournalWindow::matches(const ChangeJournalEntry& entry) const
{
    const QString controller = ui->controllerFilter->currentData().toString();
    if (!controller.isEmpty() && entry.controller != controller)
        return false;
    const QString axis = ui->axisFilter->currentData().toString();
    if (!axis.isEmpty() && axisText(entry) != axis)
        return false;
    const QString text = ui->textFilter->text().trimmed();
    if (text.isEmpty())
        return true;
    for (const QString& field : {entry.address, entry.parameter, entry.oldValue, entry.newValue, entry.source, entry.reason}) {
        if (field.contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void ChangeJournalWindow::rebuild()
{
    m_rebuildTimer->stop();
    fillFilters();
    ui->entryTree->clear();
    const QList<ChangeJournalEntry> entries = m_journal ? m_journal->entries() : QList<ChangeJournalEntry>();
    QList<QTreeWidgetItem*> rows;
    for (int i = entries.size() - 1; i >= 0; --i) {
        const ChangeJournalEntry& entry = entries.at(i);
        if (!matches(entry))
            continue;
        QString outcome = ChangeJournal::outcomeText(entry.outcome);
        if (!entry.reason.isEmpty())
            outcome += QStringLiteral(": ") + entry.reason;
        auto* row = new QTreeWidgetItem({ChangeJournal::timeText(entry.time), entry.controller,
                                         axisText(entry), entry.address, entry.parameter, entry.oldValue, entry.newValue,
                                         entry.source, outcome});
        row->setData(0, EntryRole, i);
        row->setToolTip(8, outcome);
        rows.append(row);
    }
    ui->entryTree->addTopLevelItems(rows);
    // New entries may be wider than the columns; a width the user chose is
    // never taken back.
    QHeaderView* header = ui->entryTree->header();
    for (int column = 0; column + 1 < ui->entryTree->columnCount(); ++column) {
        const int before = header->sectionSize(column);
        ui->entryTree->resizeColumnToContents(column);
        if (header->sectionSize(column) < before)
            header->resizeSection(column, before);
    }
    ui->countLabel->setText(tr("%1 von %2 Einträgen").arg(rows.size()).arg(entries.size()));
}

QList<ChangeJournalEntry> ChangeJournalWindow::shownEntries() const
{
    QList<ChangeJournalEntry> shown;
    if (!m_journal)
        return shown;
    for (int i = 0; i < ui->entryTree->topLevelItemCount(); ++i) {
        const int index = ui->entryTree->topLevelItem(i)->data(0, EntryRole).toInt();
        if (index >= 0 && index < m_journal->entries().size())
            shown.append(m_journal->entries().at(index));
    }
    return shown;
}

bool ChangeJournalWindow::exportCsv(const QString& path)
{
    // Written beside the target and moved over it at the end: an export that
    // fails half way leaves an older export as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !ChangeJournal::writeCsv(&file, shownEntries()) || !file.commit()) {
        QMessageBox::warning(this, windowTitle(),
                             tr("Das Änderungsprotokoll konnte nicht nach „%1“ geschrieben werden: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    emit exported(path);
    return true;
}

void ChangeJournalWindow::onExportClicked()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(this, tr("Änderungsprotokoll exportieren"),
                                                      QDir(folder).filePath(tr("Aenderungsprotokoll.csv")),
                                                      tr("CSV-Dateien (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

void ChangeJournalWindow::onItemDoubleClicked(QTreeWidgetItem* item)
{
    const int index = item ? item->data(0, EntryRole).toInt() : -1;
    if (m_journal && index >= 0 && index < m_journal->entries().size())
        emit showRequested(m_journal->entries().at(index));
}
