#include "ParameterCustomListCompletion.h"

#include "DriveController.h"
#include "ParameterDefinition.h"
#include "ParameterProvider.h"

#include <QCompleter>
#include <QMap>
#include <QRegularExpression>
#include <QStringListModel>

namespace {

// A coordinate, optionally with an element, at the start of the text; what
// follows a blank is the name the completion showed with it.
const QRegularExpression& leadingParameter()
{
    static const QRegularExpression expression(
        QStringLiteral("^([A-Za-z][0-9]{2,3})(\\[[0-9]{1,5}\\])?(?:\\s.*)?$"),
        QRegularExpression::DotMatchesEverythingOption);
    return expression;
}

} // namespace

ParameterCustomListCompletion::ParameterCustomListCompletion(QObject* parent)
    : QObject(parent)
    , m_completer(new QCompleter(this))
    , m_model(new QStringListModel(this))
{
    m_completer->setModel(m_model);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchContains);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(12);
}

ParameterCustomListCompletion::~ParameterCustomListCompletion() = default;

QCompleter* ParameterCustomListCompletion::completer() const
{
    return m_completer;
}

void ParameterCustomListCompletion::setAxes(const QList<QPointer<DriveControllerAxis>>& axes)
{
    m_axes = axes;
    refresh();
}

void ParameterCustomListCompletion::refresh()
{
    // Ordered by coordinate, each parameter once: the axes of one controller
    // share their catalogue, and different controllers mostly overlap.
    QMap<ParameterCoordinate, QString> texts;
    for (const QPointer<DriveControllerAxis>& axis : qAsConst(m_axes)) {
        DriveController* controller = axis ? axis->driveController() : nullptr;
        const ParameterProvider* provider = controller ? controller->parameterProvider() : nullptr;
        if (!provider)
            continue;
        const QList<ParameterCoordinate> coordinates = provider->parameterCoordinates(axis->axisNumber());
        for (const ParameterCoordinate& coordinate : coordinates) {
            if (texts.contains(coordinate))
                continue;
            const QPointer<ParameterDefinition> definition = provider->parameterDefinition(coordinate);
            const QString name = definition ? definition->parameterText().longText() : QString();
            texts.insert(coordinate, name.isEmpty() ? coordinate.toText()
                                                    : coordinate.toText() + QLatin1Char(' ') + name);
        }
    }
    m_known.clear();
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        m_known.insert(it.key().toNumber());
    const QStringList list = texts.values();
    if (m_model->stringList() != list)
        m_model->setStringList(list);
}

QStringList ParameterCustomListCompletion::entries() const
{
    return m_model->stringList();
}

ParameterCustomListCompletion::Resolution ParameterCustomListCompletion::resolve(const QString& text) const
{
    Resolution result;
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return result;
    const QRegularExpressionMatch match = leadingParameter().match(typed);
    if (match.hasMatch()) {
        const ParameterCoordinate coordinate(match.captured(1));
        result.parameter = (match.captured(1) + match.captured(2)).toUpper();
        result.kind = m_known.contains(coordinate.toNumber()) ? Resolution::Known : Resolution::Unknown;
        result.matches = result.kind == Resolution::Known ? 1 : 0;
        return result;
    }
    // The same rule as the popup's, so that Return takes what the popup
    // showed as its only suggestion.
    QString found;
    const QStringList all = m_model->stringList();
    for (const QString& entry : all) {
        if (!entry.contains(typed, Qt::CaseInsensitive))
            continue;
        ++result.matches;
        found = entry;
        // A name typed in full wins over the longer names that contain it.
        if (entry.section(QLatin1Char(' '), 1).compare(typed, Qt::CaseInsensitive) == 0) {
            result.matches = 1;
            break;
        }
    }
    if (result.matches == 1) {
        result.kind = Resolution::Known;
        result.parameter = found.section(QLatin1Char(' '), 0, 0);
    } else {
        result.kind = result.matches == 0 ? Resolution::NoMatch : Resolution::Ambiguous;
    }
    return result;
}
