#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

/**
 * The project files opened or saved last, most recent first, kept in the
 * user's settings and shown in a menu: "&1 name" with the full path as tool
 * tip, then "Liste leeren". The list is read from the settings whenever it is
 * used, so several windows of one process share it.
 *
 * Choosing an entry only emits fileChosen(); whether the file still exists is
 * for the receiver to find out (and to remove() it if not).
 */
class RecentProjects : public QObject
{
    Q_OBJECT

public:
    /// Fills @p menu and keeps it filled; the menu owns this object.
    explicit RecentProjects(QMenu* menu);
    ~RecentProjects() override;

    static int maximumCount();

    /// Absolute paths, most recent first.
    QStringList files() const;
    /// Moves @p path to the front (adding it when new) and drops what exceeds maximumCount().
    void add(const QString& path);
    void remove(const QString& path);
    void clear();

    /// Rebuilds the menu's entries, e.g. after the language changed.
    void refreshMenu();

signals:
    void fileChosen(const QString& path);

private:
    void store(const QStringList& files);

    QMenu* const m_menu;
};
