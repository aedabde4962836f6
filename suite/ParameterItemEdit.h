#pragma once

#include "KxSuiteGlobal.h"
#include "ParameterItemEditor.h"

#include <QLineEdit>

/// In-place editor of one parameter value (number or text). It reads and
/// writes only through its set-up. Enter writes the typed text, Escape ends
/// without writing, losing the focus writes the text when it is valid. Each
/// way of ending emits deleteMe() exactly once; the owner then removes the
/// editor. A refused text keeps the editor open: valueRefused() tells why and
/// the reason is shown as a tool tip.
class KXSUITE_EXPORT ParameterItemEdit : public QLineEdit, public ParameterItemEditor
{
    Q_OBJECT
public:
    explicit ParameterItemEdit(QWidget* parent = nullptr);
    ~ParameterItemEdit() override;

    /// Reads the current raw value, selects it and takes the focus. Without a
    /// set-up, or where it has no value to edit, the editor stays read-only and
    /// any key ends it.
    void initialize();

signals:
    void deleteMe();
    void valueRefused(const QString& reason);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool commit();
    void finish();

    QString m_initialText;
};
