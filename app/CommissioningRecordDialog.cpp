#include "CommissioningRecordDialog.h"
#include "ui_CommissioningRecordDialog.h"

#include "DriveController.h"

#include <QListWidgetItem>

CommissioningRecordDialog::CommissioningRecordDialog(const QList<DriveController*>& controllers,
                                                     const QList<ChangeJournalEntry>& entries, QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::CommissioningRecordDialog)
{
    ui->setupUi(this);
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime first = entries.isEmpty() ? QDateTime(now.date(), QTime(0, 0)) : entries.first().time.toLocalTime();
    ui->fromEdit->setDateTime(first);
    ui->toEdit->setDateTime(now);

    // Every pair of axes of the project, each once.
    QList<QPair<DriveController*, int>> axes;
    for (DriveController* controller : controllers) {
        for (int number : controller ? controller->axisNumbers() : QList<int>())
            axes.append({controller, number});
    }
    for (int a = 0; a < axes.size(); ++a) {
        for (int b = a + 1; b < axes.size(); ++b) {
            CommissioningRecord::AxisPair pair{axes.at(a).first, axes.at(a).second, axes.at(b).first, axes.at(b).second};
            auto* item = new QListWidgetItem(tr("%1, %2  ↔  %3, %4")
                                                 .arg(pair.controllerA->name(), pair.controllerA->axisName(pair.axisA),
                                                      pair.controllerB->name(), pair.controllerB->axisName(pair.axisB)),
                                             ui->pairList);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
            m_pairs.append(pair);
        }
    }
}

CommissioningRecordDialog::~CommissioningRecordDialog() = default;

QDateTime CommissioningRecordDialog::from() const
{
    return ui->fromEdit->dateTime().toUTC();
}

QDateTime CommissioningRecordDialog::to() const
{
    return ui->toEdit->dateTime().toUTC();
}

QList<CommissioningRecord::AxisPair> CommissioningRecordDialog::chosenPairs() const
{
    QList<CommissioningRecord::AxisPair> chosen;
    for (int i = 0; i < ui->pairList->count() && i < m_pairs.size(); ++i) {
        if (ui->pairList->item(i)->checkState() == Qt::Checked)
            chosen.append(m_pairs.at(i));
    }
    return chosen;
}
