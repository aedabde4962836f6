#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterItemEditor.h"

#include <QComboBox>

/// In-place editor of a value taken from a selection list (choices and
/// switches). Picking an entry in the open list, or Enter on the closed box,
/// writes it through the set-up (arrow keys on the closed box only move the
/// selection); Escape and losing the focus end without writing. Each way of ending emits deleteMe()
/// exactly once; the owner then removes the editor. The owner may open the
/// list with showPopup() right after initialize().
class KXSUITE_EXPORT ParameterItemComboBox : public QComboBox, public ParameterItemEditor
{
    Q_OBJECT
public:
    explicit ParameterItemComboBox(QWidget* parent = nullptr);
    ~ParameterItemComboBox() override;

    /// Fills the selection list in the active language, selects the current
    /// value and takes the focus. Without a set-up, or where it has no value
    /// to edit, the box only shows the current value and any key ends it.
    void initialize();

    /// Whether the value can be written, not whether the box takes typed text.
    using ParameterItemEditor::isEditable;

    void showPopup() override;

signals:
    void deleteMe();
    void valueRefused(const QString& reason);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onActivated(int index);
    void finish();

    int m_initialIndex = -1;
    bool m_browsing = false;
};
