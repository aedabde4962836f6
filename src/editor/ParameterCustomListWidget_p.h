#pragma once

#include "ui_ParameterCustomListWidget.h"

#include <QList>
#include <QObject>

class ParameterCustomList;
class ParameterCustomListCompletion;
class ParameterCustomListWidget;
class QAction;
class QMenu;

class ParameterCustomListWidgetPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCustomListWidgetPrivate(ParameterCustomListWidget* q);
    ~ParameterCustomListWidgetPrivate() override;

    void restoreStates();
    void storeStates();
    void retranslate();
    void addParameter(const QString& text);
    void showNotice(const QString& text);

    Ui::ParameterCustomListWidget ui;
    ParameterCustomListWidget* const q;
    ParameterCustomList* list = nullptr;
    QMenu* const menu;
    ParameterCustomListCompletion* const completion;
    QAction* selectDevicesAction = nullptr;
    QAction* clearAction = nullptr;
    QAction* exportAction = nullptr;
    QAction* importAction = nullptr;

    static QList<ParameterCustomListWidget*> openWidgets;

public slots:
    void updateName();
    void updateContent();
    void updateEntries();
    void onAddParameterEditCommit();
    void onCompletionActivated(const QString& text);
    void onSelectDevicesClicked();
    void onListIsDestroyed();
    void onListPrepareSaveData();
    void onMenuClicked();
    void onClear();
    void onExport();
    void onImport();
    void onBottomVisibleToggled(bool value);
};
