#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class DriveControllerAxis;
class SelectDeviceWidgetPrivate;

// A checkable tree of the project's drive controllers and their axes, run as
// the modal dialog in which the user picks the axes of a list.
class SelectDeviceWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SelectDeviceWidget(QWidget* parent = nullptr);
    ~SelectDeviceWidget() override;

    void fillDevices();
    void setSelectedAxes(QList<QPointer<DriveControllerAxis>> axes);
    // True when the user pressed OK. Afterwards the widget is back with its
    // former parent, so the selection can still be read.
    bool exec();
    QList<QPointer<DriveControllerAxis>> selectedAxes() const;

private:
    friend class SelectDeviceWidgetPrivate;
    SelectDeviceWidgetPrivate* const d;
};
