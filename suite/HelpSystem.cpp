#include "HelpSystem.h"

#include <QHash>

class HelpSystemPrivate
{
public:
    struct Page
    {
        QString title;
        QString html;
    };

    QString context;
    QStringList identifiers;
    QHash<QString, Page> pages;
};

HelpSystem::HelpSystem(const QString& context, QObject* parent)
    : QObject(parent)
    , d(new HelpSystemPrivate)
{
    d->context = context;
}

HelpSystem::~HelpSystem() = default;

QString HelpSystem::context() const
{
    return d->context;
}

void HelpSystem::registerPage(const QString& identifier, const QString& title, const QString& html)
{
    auto found = d->pages.find(identifier);
    if (found == d->pages.end()) {
        d->identifiers.append(identifier);
        d->pages.insert(identifier, {title, html});
    } else {
        *found = {title, html};
    }
    emit pagesChanged();
}

void HelpSystem::removePage(const QString& identifier)
{
    if (d->pages.remove(identifier) == 0)
        return;
    d->identifiers.removeOne(identifier);
    emit pagesChanged();
}

bool HelpSystem::hasPage(const QString& identifier) const
{
    return d->pages.contains(identifier);
}

QString HelpSystem::pageTitle(const QString& identifier) const
{
    return d->pages.value(identifier).title;
}

QString HelpSystem::pageHtml(const QString& identifier) const
{
    return d->pages.value(identifier).html;
}

QStringList HelpSystem::pageIdentifiers() const
{
    return d->identifiers;
}

void HelpSystem::clear()
{
    if (d->pages.isEmpty())
        return;
    d->pages.clear();
    d->identifiers.clear();
    emit pagesChanged();
}
