#pragma once

#include "ui_ParameterCustomListWidget.h"

#include <QList>
#include <QObject>

class ParameterCustomList;
class ParameterCustomListWidget;
class QMenu;

class ParameterCustomListWidgetPrivate : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCustomListWidgetPrivate(ParameterCustomListWidget* q);
    ~ParameterCustomListWidgetPrivate() override;

    void restoreStates();
    void storeStates();

    Ui::ParameterCustomListWidget ui;
    ParameterCustomListWidget* const q;
    ParameterCustomList* list = nullptr;
    QMenu* const menu;

    static QList<ParameterCustomListWidget*> openWidgets;

public slots:
    void updateName();
    void updateContent();
    void onAddParameterEditCommit();
    void onSelectDevicesClicked();
    void onListIsDestroyed();
    void onListPrepareSaveData();
    void onMenuClicked();
    void onClear();
    void onExport();
    void onImport();
    void onBottomVisibleToggled(bool value);
};
