#pragma once

#include "KxSuiteGlobal.h"

#include <QComboBox>
#include <QPointer>

class ParameterSetup;

/// In-place editor of a value taken from a selection list (choices and
/// switches). Picking an entry in the open list, or Enter on the closed box,
/// writes it through the set-up (arrow keys on the closed box only move the
/// selection); Escape and losing the focus end without writing. Each way of ending emits deleteMe()
/// exactly once; the owner then removes the editor. The owner may open the
/// list with showPopup() right after initialize().
class KXSUITE_EXPORT ParameterItemComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ParameterItemComboBox(QWidget* parent = nullptr);
    ~ParameterItemComboBox() override;

    void setParameterSetup(ParameterSetup* setup);
    void setLivingSpace(eLivingSpace livingSpace);
    void setElementIndex(quint16 element);

    /// Fills the selection list in the active language, selects the current
    /// value and takes the focus. Without a set-up, or where it has no value
    /// to edit, the box only shows the current value and any key ends it.
    void initialize();

    ParameterSetup* parameterSetup() const;
    eLivingSpace livingSpace() const;
    quint16 elementIndex() const;
    bool isEditable() const;
    bool isFinished() const;

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

    QPointer<ParameterSetup> m_setup;
    eLivingSpace m_livingSpace = LivingSpaceNone;
    quint16 m_element = 0;
    int m_initialIndex = -1;
    bool m_editable = false;
    bool m_finished = false;
    bool m_browsing = false;
};
