#pragma once

#include <QString>
#include <QWidget>

class ParameterCustomListInformation;
class ParameterCustomListWidgetPrivate;

// The window in which the user edits one list: the list tree, help and
// properties of the current cell, a field to add parameters by coordinate or
// name (parameters dragged from a parameter view are added too) and a menu to
// choose axes, clear, export and import. The window keeps its
// geometry, splitters and the visibility of its bottom area in the list.
class ParameterCustomListWidget : public QWidget
{
    Q_OBJECT

public:
    ParameterCustomListWidget();
    ~ParameterCustomListWidget() override;

    // The first open window showing the list with that identifier, or null.
    static ParameterCustomListWidget* find(const QString& listIdentifier);

    QString listIdentifier() const;
    void setParameterCustomList(ParameterCustomListInformation* list);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class ParameterCustomListWidgetPrivate;
    ParameterCustomListWidgetPrivate* const d;
};
