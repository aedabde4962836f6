#pragma once

#include "KxSuiteGlobal.h"

#include <QWidget>

#include <memory>

class HelpSystem;
class HelpWidgetPrivate;
class QUrl;

/**
 * Shows help pages of a HelpSystem, or any HTML, in a read-only browser
 * (object name "helpBrowser"). Links of the form "help:Identifier" open
 * another page of the same help system. A shown page is refreshed when the
 * help system's pages change.
 */
class KXSUITE_EXPORT HelpWidget : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWidget(QWidget* parent = nullptr);
    ~HelpWidget() override;

    /// Takes the pages from @p helpSystem, which the widget does not own
    /// and which may be destroyed at any time.
    void initialize(HelpSystem* helpSystem);
    HelpSystem* helpSystem() const;

    /**
     * Shows the page @p identifier with its title. An empty identifier clears
     * the view and returns true. An unknown identifier shows a note saying
     * that there is no help for it and returns false; without a help system
     * nothing is shown and the result is false.
     */
    bool showHelpForId(const QString& identifier);

    /// Shows @p html as it is and returns true.
    bool showHtmlText(const QString& html);

    /// The identifier last given to showHelpForId(); empty after showHtmlText().
    QString currentIdentifier() const;

    /// The text that the browser shows.
    QString plainText() const;

protected:
    void changeEvent(QEvent* event) override;

private slots:
    void onAnchorClicked(const QUrl& url);
    void onPagesChanged();

private:
    std::unique_ptr<HelpWidgetPrivate> const d;
};
