#pragma once

#include "CommissioningRecord.h"

#include <QDialog>

#include <memory>

namespace Ui { class CommissioningRecordDialog; }

/// Asks for the period of a commissioning record and the pairs of axes whose
/// differences it should hold. The period starts at the journal's first entry
/// and ends now; no pair is chosen at first.
class CommissioningRecordDialog : public QDialog
{
    Q_OBJECT

public:
    CommissioningRecordDialog(const QList<DriveController*>& controllers, const QList<ChangeJournalEntry>& entries,
                              QWidget* parent = nullptr);
    ~CommissioningRecordDialog() override;

    QDateTime from() const;
    QDateTime to() const;
    QList<CommissioningRecord::AxisPair> chosenPairs() const;

private:
    std::unique_ptr<Ui::CommissioningRecordDialog> ui;
    QList<CommissioningRecord::AxisPair> m_pairs;
};
