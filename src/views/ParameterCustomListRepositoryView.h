#pragma once

#include "kxparametercustomlist_export.h"

#include <QWidget>

class ParameterCustomListRepositoryViewPrivate;

/**
 * The window that lists every variable parameter list of the open project.
 * From it the user opens a list in its own window, renames a list in place,
 * deletes it, creates a new one by typing a name into the row
 * "<neue Liste>", or creates one from a text file.
 *
 * The view holds no data of its own: it mirrors ParameterCustomListRepository
 * and rebuilds its rows whenever the repository reports a change.
 *
 * There is one view, a dialog window over the application's main window
 * (System::mainWindow()), which owns it. Take it with instance() and show it:
 * @code
 * ParameterCustomListRepositoryView& view = ParameterCustomListRepositoryView::instance();
 * view.show();
 * view.raise();
 * @endcode
 * Everything runs on the GUI thread.
 */
class KXPARAMETERCUSTOMLIST_EXPORT ParameterCustomListRepositoryView : public QWidget
{
    Q_OBJECT

public:
    /**
     * The one view. Created on the first call, and again after the main
     * window destroyed the earlier one; not shown by this call. Call it only
     * after ParameterCustomListRepository::initialize() and after the main
     * window was set, which becomes the view's parent.
     */
    static ParameterCustomListRepositoryView& instance();

    /// Rebuilds the rows from the repository. Not a repaint: it hides
    /// QWidget::update().
    void update();

private:
    explicit ParameterCustomListRepositoryView(QWidget* parent = nullptr);
    ~ParameterCustomListRepositoryView() override;
    Q_DISABLE_COPY(ParameterCustomListRepositoryView)

    friend class ParameterCustomListRepositoryViewPrivate;
    ParameterCustomListRepositoryViewPrivate* const d;
};
