#include "HelpWidget.h"

#include "HelpSystem.h"

#include <QDesktopServices>
#include <QEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

class HelpWidgetPrivate
{
public:
    QTextBrowser* browser = nullptr;
    QPointer<HelpSystem> helpSystem;
    QString currentIdentifier;
};

HelpWidget::HelpWidget(QWidget* parent)
    : QWidget(parent)
    , d(new HelpWidgetPrivate)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d->browser = new QTextBrowser(this);
    d->browser->setObjectName(QStringLiteral("helpBrowser"));
    d->browser->setReadOnly(true);
    // Links are resolved here, so that "help:" links stay inside the help system.
    d->browser->setOpenLinks(false);
    layout->addWidget(d->browser);
    connect(d->browser, &QTextBrowser::anchorClicked, this, &HelpWidget::onAnchorClicked);
}

HelpWidget::~HelpWidget() = default;

void HelpWidget::initialize(HelpSystem* helpSystem)
{
    if (d->helpSystem)
        disconnect(d->helpSystem, nullptr, this, nullptr);
    d->helpSystem = helpSystem;
    if (helpSystem)
        connect(helpSystem, &HelpSystem::pagesChanged, this, &HelpWidget::onPagesChanged);
    if (!d->currentIdentifier.isEmpty())
        showHelpForId(d->currentIdentifier);
}

HelpSystem* HelpWidget::helpSystem() const
{
    return d->helpSystem.data();
}

bool HelpWidget::showHelpForId(const QString& identifier)
{
    d->currentIdentifier = identifier;
    if (identifier.isEmpty()) {
        d->browser->clear();
        return true;
    }
    if (!d->helpSystem) {
        d->browser->clear();
        return false;
    }
    if (!d->helpSystem->hasPage(identifier)) {
        d->browser->setHtml(QStringLiteral("<p><i>%1</i></p>")
                                .arg(tr("Keine Hilfe zu „%1“ vorhanden.").arg(identifier.toHtmlEscaped())));
        return false;
    }
    const QString title = d->helpSystem->pageTitle(identifier);
    QString html;
    if (!title.isEmpty())
        html = QStringLiteral("<h2>%1</h2>").arg(title.toHtmlEscaped());
    html += d->helpSystem->pageHtml(identifier);
    d->browser->setHtml(html);
    return true;
}

bool HelpWidget::showHtmlText(const QString& html)
{
    d->currentIdentifier.clear();
    d->browser->setHtml(html);
    return true;
}

QString HelpWidget::currentIdentifier() const
{
    return d->currentIdentifier;
}

QString HelpWidget::plainText() const
{
    return d->browser->toPlainText();
}

void HelpWidget::changeEvent(QEvent* event)
{
    // Pages are the help system's business; the note about a missing page is ours.
    if (event->type() == QEvent::LanguageChange && !d->currentIdentifier.isEmpty())
        showHelpForId(d->currentIdentifier);
    QWidget::changeEvent(event);
}

void HelpWidget::onAnchorClicked(const QUrl& url)
{
    if (url.scheme() == QLatin1String("help"))
        showHelpForId(url.path());
    else if (!url.isRelative())
        QDesktopServices::openUrl(url);
}

void HelpWidget::onPagesChanged()
{
    if (!d->currentIdentifier.isEmpty())
        showHelpForId(d->currentIdentifier);
}
