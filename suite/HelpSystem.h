#pragma once

#include "KxSuiteGlobal.h"

#include <QObject>
#include <QStringList>

#include <memory>

class HelpSystemPrivate;

/**
 * The help pages of one help context, each with an identifier, a title and
 * an HTML body. Pages are kept in the order of their first registration.
 */
class KXSUITE_EXPORT HelpSystem : public QObject
{
    Q_OBJECT

public:
    explicit HelpSystem(const QString& context, QObject* parent = nullptr);
    ~HelpSystem() override;

    QString context() const;

    /// Registers a page; a page with the same identifier is replaced and
    /// keeps its position.
    void registerPage(const QString& identifier, const QString& title, const QString& html);
    void removePage(const QString& identifier);

    bool hasPage(const QString& identifier) const;

    /// Title and body of a page; empty for an unknown identifier.
    QString pageTitle(const QString& identifier) const;
    QString pageHtml(const QString& identifier) const;

    QStringList pageIdentifiers() const;

    void clear();

signals:
    /// Emitted after pages were registered, replaced or removed.
    void pagesChanged();

private:
    std::unique_ptr<HelpSystemPrivate> const d;
};
