#pragma once

#include "KxSuiteGlobal.h"

#include <QLineEdit>
#include <QPointer>

class ParameterSetup;

/// In-place editor of one parameter value (number or text). It reads and
/// writes only through its set-up. Enter writes the typed text, Escape ends
/// without writing, losing the focus writes the text when it is valid. Each
/// way of ending emits deleteMe() exactly once; the owner then removes the
/// editor. A refused text keeps the editor open: valueRefused() tells why and
/// the reason is shown as a tool tip.
class KXSUITE_EXPORT ParameterItemEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit ParameterItemEdit(QWidget* parent = nullptr);
    ~ParameterItemEdit() override;

    void setParameterSetup(ParameterSetup* setup);
    void setLivingSpace(eLivingSpace livingSpace);
    void setElementIndex(quint16 element);

    /// Reads the current raw value, selects it and takes the focus. Without a
    /// set-up, or where it has no value to edit, the editor stays read-only and
    /// any key ends it.
    void initialize();

    ParameterSetup* parameterSetup() const;
    eLivingSpace livingSpace() const;
    quint16 elementIndex() const;
    /// initialize() found a value that can be written.
    bool isEditable() const;
    /// deleteMe() has been emitted.
    bool isFinished() const;

    /// The set-up holds a value for that living space and element: the
    /// element exists and carries a value, and the parameter is global or
    /// defined in the living space.
    static bool hasValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element);
    /// hasValue() and the set-up lets it be written at the moment.
    static bool canWriteValue(const ParameterSetup* setup, eLivingSpace livingSpace, quint16 element);

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

    QPointer<ParameterSetup> m_setup;
    eLivingSpace m_livingSpace = LivingSpaceNone;
    quint16 m_element = 0;
    QString m_initialText;
    bool m_editable = false;
    bool m_finished = false;
};
