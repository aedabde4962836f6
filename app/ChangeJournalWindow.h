#pragma once

#include "ChangeJournal.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QTimer;
class QTreeWidgetItem;
namespace Ui { class ChangeJournalWindow; }

/**
 * "Extras › Änderungsprotokoll": the journal of the open project, newest
 * first, filtered by controller, axis and text. A double click asks for the
 * parameter to be shown (showRequested); the shown entries can be exported
 * as CSV.
 */
class ChangeJournalWindow : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeJournalWindow(ChangeJournal* journal, QWidget* parent = nullptr);
    ~ChangeJournalWindow() override;

    /// The entries shown, in the order shown.
    QList<ChangeJournalEntry> shownEntries() const;
    /// Writes the shown entries to @p path; false with a message box when it cannot.
    bool exportCsv(const QString& path);

signals:
    void showRequested(const ChangeJournalEntry& entry);
    void exported(const QString& path);

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void scheduleRebuild();
    void rebuild();
    void onExportClicked();
    void onItemDoubleClicked(QTreeWidgetItem* item);

private:
    bool matches(const ChangeJournalEntry& entry) const;
    void fillFilters();

    std::unique_ptr<Ui::ChangeJournalWindow> ui;
    QPointer<ChangeJournal> m_journal;
    QTimer* m_rebuildTimer = nullptr;
};
