#pragma once

#include "ParameterCustomList.h"
#include "ParameterCustomListRepository.h"
#include "ParameterCustomListWidget.h"

#include "DriveControllerAxis.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTest>

// Lists and their windows as the repository view makes and opens them.
namespace KxTest {

inline ParameterCustomList* createNamedList(const QString& name, const QList<QPointer<DriveControllerAxis>>& axes)
{
    auto* list = qobject_cast<ParameterCustomList*>(ParameterCustomListRepository::instance().createList());
    list->setName(name);
    list->setAxes(axes);
    QCoreApplication::processEvents();
    return list;
}

// Deleted when closed; with `show`, shown and exposed.
inline ParameterCustomListWidget* openListWindow(ParameterCustomList* list, bool show = true)
{
    auto* window = new ParameterCustomListWidget;
    window->setParameterCustomList(list);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (show) {
        window->show();
        if (!QTest::qWaitForWindowExposed(window))
            QTest::qFail("list window not exposed", __FILE__, __LINE__);
    }
    return window;
}

// The command of the window's "..." menu with that text, or null.
inline QAction* listMenuAction(ParameterCustomListWidget* window, const QString& text)
{
    for (QAction* action : window->findChild<QMenu*>()->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace KxTest
