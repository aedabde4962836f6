#include "RecentProjects.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const QString filesKey = QStringLiteral("RecentProjects/files");

QSettings recentSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("KxSuite"), QStringLiteral("KX Suite"));
}

QString normalized(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

RecentProjects::RecentProjects(QMenu* menu)
    : QObject(menu)
    , m_menu(menu)
{
    m_menu->setObjectName(QStringLiteral("menuRecentProjects"));
    // Another window of this process may have changed the list meanwhile.
    connect(m_menu, &QMenu::aboutToShow, this, &RecentProjects::refreshMenu);
    refreshMenu();
}

RecentProjects::~RecentProjects() = default;

int RecentProjects::maximumCount()
{
    return 8;
}

QStringList RecentProjects::files() const
{
    QStringList files = recentSettings().value(filesKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, maximumCount());
}

void RecentProjects::add(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString file = normalized(path);
    QStringList list = files();
    list.removeAll(file);
    list.prepend(file);
    store(list.mid(0, maximumCount()));
}

void RecentProjects::remove(const QString& path)
{
    QStringList list = files();
    if (list.removeAll(normalized(path)) > 0)
        store(list);
}

void RecentProjects::clear()
{
    store({});
}

void RecentProjects::refreshMenu()
{
    m_menu->clear();
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list.at(i);
        const QFileInfo info(path);
        QAction* action = m_menu->addAction(tr("&%1 %2").arg(i + 1).arg(info.fileName()));
        action->setObjectName(QStringLiteral("actionRecentProject%1").arg(i + 1));
        action->setData(path);
        action->setToolTip(tr("%1\nim Verzeichnis %2")
                               .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())));
        action->setStatusTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { emit fileChosen(path); });
    }
    if (list.isEmpty())
        m_menu->addAction(tr("(keine)"))->setEnabled(false);
    m_menu->addSeparator();
    QAction* clearAction = m_menu->addAction(tr("Liste &leeren"));
    clearAction->setObjectName(QStringLiteral("actionClearRecentProjects"));
    clearAction->setEnabled(!list.isEmpty());
    connect(clearAction, &QAction::triggered, this, &RecentProjects::clear);
    m_menu->setToolTipsVisible(true);
}

void RecentProjects::store(const QStringList& files)
{
    recentSettings().setValue(filesKey, files);
    // Later, since the action that changed the list may still be delivering its signal.
    QMetaObject::invokeMethod(this, &RecentProjects::refreshMenu, Qt::QueuedConnection);
}
