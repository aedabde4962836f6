#pragma once

#include "KxSuiteGlobal.h"

#include <QLineEdit>

/// A line edit that tells when the user confirms the text with Enter or
/// Return, whatever a validator thinks of it.
class KXSUITE_EXPORT LineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit LineEdit(QWidget* parent = nullptr);
    ~LineEdit() override;

signals:
    /// The user pressed Enter or Return; `text` is the line's text at that moment.
    void textCommited(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
