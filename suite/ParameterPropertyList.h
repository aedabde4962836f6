#pragma once

#include "KxSuiteGlobal.h"

#include <QString>
#include <QWidget>
#include <memory>

class ParameterProvider;
class QTreeWidget;
class ParameterPropertyListPrivate;

/// Shows everything known about one parameter of a device: address, names,
/// structure, scope, and per element value, reference, default, unit, limits
/// or selection list, and access properties. Follows the provider's changes
/// of the shown parameter and the active language.
class KXSUITE_EXPORT ParameterPropertyList : public QWidget
{
    Q_OBJECT
public:
    explicit ParameterPropertyList(QWidget* parent = nullptr);
    ~ParameterPropertyList() override;

    /// Sets up the columns; called by the constructor already, calling it
    /// again empties the list.
    void initialize();
    /// The device whose parameters are shown; null shows nothing. Guarded.
    void setParameterProvider(ParameterProvider* provider);
    ParameterProvider* parameterProvider() const;
    void clear();

    /// `sortableAddress` is ParameterAddress::toSortableText() form
    /// ("02.A012[00003]"; "-" as living space for none, which shows a per-axis
    /// parameter in its first axis). All three show the parameter as the
    /// device defines it; the addressed element's group is opened and current.
    /// An unknown address, an element the parameter does not have, an axis it
    /// is not defined in or a missing provider show one line saying so.
    void showParameterProperties(QString sortableAddress);
    void showArrayParameterProperties(QString sortableAddress);
    void showRecordParameterProperties(QString sortableAddress);

    /// The sortable address shown, also when it was found not available;
    /// empty after clear().
    QString shownAddress() const;
    /// Whether the shown address named a parameter the device has.
    bool isParameterAvailable() const;
    QTreeWidget* treeWidget() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    friend class ParameterPropertyListPrivate;
    std::unique_ptr<ParameterPropertyListPrivate> const d;
};
