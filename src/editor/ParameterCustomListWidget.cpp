#include "ParameterCustomListWidget.h"
#include "ParameterCustomListWidget_p.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListImport.h"
#include "SelectDeviceWidget.h"

#include "DefaultPathSetting.h"
#include "System.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRegExpValidator>
#include <QShowEvent>

#include <memory>

namespace {

const QByteArray windowKey = QByteArrayLiteral("Window");
const QByteArray splitterMainKey = QByteArrayLiteral("SplitterMain");
const QByteArray splitterBottomKey = QByteArrayLiteral("SplitterBottom");
const QByteArray bottomVisibleKey = QByteArrayLiteral("BottomVisible");

} // namespace

QList<ParameterCustomListWidget*> ParameterCustomListWidgetPrivate::openWidgets;

ParameterCustomListWidgetPrivate::ParameterCustomListWidgetPrivate(ParameterCustomListWidget* q)
    : QObject(q)
    , q(q)
    , menu(new QMenu(q))
{
    openWidgets.append(q);
}

ParameterCustomListWidgetPrivate::~ParameterCustomListWidgetPrivate()
{
    openWidgets.removeAll(q);
}

void ParameterCustomListWidgetPrivate::restoreStates()
{
    q->restoreGeometry(list->state(windowKey));
    ui.bottomButton->setChecked(list->state(bottomVisibleKey) == "1");
    ui.splitterMain->restoreState(list->state(splitterMainKey));
    ui.splitterBottom->restoreState(list->state(splitterBottomKey));
}

void ParameterCustomListWidgetPrivate::storeStates()
{
    list->setState(windowKey, q->saveGeometry());
    list->setState(splitterMainKey, ui.splitterMain->saveState());
    list->setState(splitterBottomKey, ui.splitterBottom->saveState());
    list->setState(bottomVisibleKey, ui.bottomButton->isChecked() ? QByteArrayLiteral("1") : QByteArrayLiteral("0"));
}

void ParameterCustomListWidgetPrivate::retranslate()
{
    // The form would also empty the add field, which may hold what the user
    // is typing.
    const QString typed = ui.parameterAddLineEdit->text();
    ui.retranslateUi(q);
    ui.parameterAddLineEdit->setText(typed);
    selectDevicesAction->setText(ParameterCustomListWidget::tr("Antriebsregler auswählen ..."));
    clearAction->setText(ParameterCustomListWidget::tr("Liste leeren"));
    exportAction->setText(ParameterCustomListWidget::tr("Exportieren ..."));
    importAction->setText(ParameterCustomListWidget::tr("Importieren ..."));
    // The form's title is only a placeholder for the list's.
    updateName();
}

void ParameterCustomListWidgetPrivate::updateName()
{
    if (list)
        q->setWindowTitle(ParameterCustomListWidget::tr("Variable Pararameterliste - %1").arg(list->name()));
}

// The tree hears the list itself; whichever of us comes second finds the
// rows current already.
void ParameterCustomListWidgetPrivate::updateContent()
{
    ui.parameterTreeWidget->onListAxesChanged();
}

void ParameterCustomListWidgetPrivate::updateEntries()
{
    ui.parameterTreeWidget->onListEntriesChanged();
}

void ParameterCustomListWidgetPrivate::onAddParameterEditCommit()
{
    if (!list)
        return;
    list->addEntry(ui.parameterAddLineEdit->text().toUpper());
    // The next coordinate replaces this one as it is typed; until then the
    // field still shows what was added.
    ui.parameterAddLineEdit->selectAll();
}

void ParameterCustomListWidgetPrivate::onSelectDevicesClicked()
{
    if (!list)
        return;
    QPointer<SelectDeviceWidget> selection = new SelectDeviceWidget(q);
    selection->fillDevices();
    selection->setSelectedAxes(list->axes());
    QPointer<ParameterCustomListWidgetPrivate> self(this);
    const bool accepted = selection->exec();
    // The dialog runs its own event loop, in which the list and even this
    // window may have been deleted.
    if (!self) {
        delete selection;
        return;
    }
    if (accepted && selection && list)
        list->setAxes(selection->selectedAxes());
    delete selection;
}

void ParameterCustomListWidgetPrivate::onListIsDestroyed()
{
    list = nullptr;
    q->close();
    q->deleteLater();
}

void ParameterCustomListWidgetPrivate::onListPrepareSaveData()
{
    if (list)
        list->setState(windowKey, q->saveGeometry());
}

void ParameterCustomListWidgetPrivate::onMenuClicked()
{
    menu->popup(ui.menuButton->mapToGlobal(ui.menuButton->rect().center()));
}

void ParameterCustomListWidgetPrivate::onClear()
{
    if (list)
        list->clearEntries();
}

void ParameterCustomListWidgetPrivate::onExport()
{
    if (!list)
        return;
    const QString caption = ParameterCustomListWidget::tr("Parameterzusammenstellung exportieren");
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    const QString dir = setting->currentPath();
    QPointer<ParameterCustomListWidgetPrivate> self(this);
    const QString fileName = QFileDialog::getSaveFileName(System::instance().mainWindow(), caption,
        dir + QLatin1Char('/') + list->name() + QStringLiteral(".txt"),
        ParameterCustomListWidget::tr("Textdateien (*.txt)"));
    if (!self || !list || fileName.isEmpty())
        return;

    const QByteArray text = list->exportText();
    QFile file(fileName);
    // A full disk is as much a failure to write as a missing directory.
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.flush()) {
        QMessageBox::critical(q, caption,
            ParameterCustomListWidget::tr("Die Datei %1 kann nicht geschrieben werden").arg(fileName), QMessageBox::Ok);
        return;
    }
    file.close();
    setting->rememberPath(fileName);
}

void ParameterCustomListWidgetPrivate::onImport()
{
    if (!list)
        return;
    const QString caption = ParameterCustomListWidget::tr("Parameterzusammenstellung importieren");
    const std::unique_ptr<DefaultPathSetting> setting(DefaultPathSetting::create(DefaultPathSetting::ParameterSelectionFiles));
    const QString dir = setting->currentPath();
    QPointer<ParameterCustomListWidgetPrivate> self(this);
    const QString fileName = QFileDialog::getOpenFileName(System::instance().mainWindow(), caption, dir,
        ParameterCustomListWidget::tr("Textdateien (*.txt)"));
    if (!self || !list || fileName.isEmpty())
        return;

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::critical(q, caption,
            ParameterCustomListWidget::tr("Die Datei %1 kann nicht geöffnet werden").arg(fileName), QMessageBox::Ok);
        return;
    }
    const QByteArray text = file.readAll();
    file.close();
    if (!ParameterCustomListImport::confirm(q, caption, fileName, text) || !self || !list)
        return;
    list->importText(text);
    setting->rememberPath(fileName);
}

void ParameterCustomListWidgetPrivate::onBottomVisibleToggled(bool value)
{
    ui.bottomWidget->setVisible(value);
}

ParameterCustomListWidget::ParameterCustomListWidget()
    : QWidget(nullptr)
    , d(new ParameterCustomListWidgetPrivate(this))
{
    setProperty("HelpId", QStringLiteral("ParameterCustomList"));
    setParent(System::instance().mainWindow(), Qt::Dialog);
    setWindowIcon(QIcon(QStringLiteral(":/Resources/ParameterCustomList.png")));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    d->ui.setupUi(this);
    d->ui.parameterAddLineEdit->setValidator(new QRegExpValidator(
        QRegExp(QStringLiteral("^([A-Za-z])([0-9][0-9]{1,2})(\\[([0-9]{1,5})\\])?$"), Qt::CaseSensitive), d));

    d->ui.parameterTreeWidget->setHelpWidget(d->ui.helpWidget);
    d->ui.parameterTreeWidget->setColorWidget(d->ui.colorWidget);
    d->ui.parameterTreeWidget->setPropertyList(d->ui.propertyWidget);
    d->ui.helpWidget->initialize(System::instance().helpSystem(QStringLiteral("parameter")));
    d->ui.propertyWidget->initialize();

    connect(d->ui.parameterAddLineEdit, &LineEdit::textCommited, d, &ParameterCustomListWidgetPrivate::onAddParameterEditCommit);
    connect(d->ui.menuButton, &QPushButton::clicked, d, &ParameterCustomListWidgetPrivate::onMenuClicked);
    connect(d->ui.bottomButton, &QPushButton::toggled, d, &ParameterCustomListWidgetPrivate::onBottomVisibleToggled);

    d->selectDevicesAction = d->menu->addAction(QString(), d, &ParameterCustomListWidgetPrivate::onSelectDevicesClicked);
    d->menu->addSeparator();
    d->clearAction = d->menu->addAction(QString(), d, &ParameterCustomListWidgetPrivate::onClear);
    d->menu->addSeparator();
    d->exportAction = d->menu->addAction(QString(), d, &ParameterCustomListWidgetPrivate::onExport);
    d->importAction = d->menu->addAction(QString(), d, &ParameterCustomListWidgetPrivate::onImport);
    d->retranslate();
}

ParameterCustomListWidget::~ParameterCustomListWidget() = default;

ParameterCustomListWidget* ParameterCustomListWidget::find(const QString& listIdentifier)
{
    for (ParameterCustomListWidget* window : qAsConst(ParameterCustomListWidgetPrivate::openWidgets)) {
        if (window->listIdentifier() == listIdentifier)
            return window;
    }
    return nullptr;
}

QString ParameterCustomListWidget::listIdentifier() const
{
    return d->list ? d->list->identifier() : QString();
}

void ParameterCustomListWidget::setParameterCustomList(ParameterCustomListInformation* list)
{
    if (d->list)
        disconnect(d->list, nullptr, d, nullptr);
    d->list = qobject_cast<ParameterCustomList*>(list);
    d->ui.parameterTreeWidget->setParameterCustomList(d->list);
    if (!d->list)
        return;

    connect(d->list, &ParameterCustomListInformation::listNameChanged, d, &ParameterCustomListWidgetPrivate::updateName);
    connect(d->list, &ParameterCustomListInformation::listAxesChanged, d, &ParameterCustomListWidgetPrivate::updateContent);
    connect(d->list, &ParameterCustomListInformation::listEntriesChanged, d, &ParameterCustomListWidgetPrivate::updateEntries);
    connect(d->list, &QObject::destroyed, d, &ParameterCustomListWidgetPrivate::onListIsDestroyed);
    connect(d->list, &ParameterCustomListInformation::prepareSaveData, d, &ParameterCustomListWidgetPrivate::onListPrepareSaveData);
    d->updateName();
    d->updateContent();
    restoreGeometry(d->list->state(windowKey));
}

void ParameterCustomListWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        d->retranslate();
    QWidget::changeEvent(event);
}

void ParameterCustomListWidget::closeEvent(QCloseEvent* event)
{
    if (d->list)
        d->storeStates();
    QWidget::closeEvent(event);
}

void ParameterCustomListWidget::showEvent(QShowEvent* event)
{
    if (d->list) {
        d->restoreStates();
        d->ui.parameterTreeWidget->onListAxesChanged();
        if (d->list->axes().isEmpty())
            QMetaObject::invokeMethod(d, "onSelectDevicesClicked", Qt::QueuedConnection);
    }
    QWidget::showEvent(event);
}
