#include "Measurement.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace KxBench {

namespace {

double timed(const std::function<void()>& run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    return double(clock.nsecsElapsed()) / 1e6;
}

bool stepped(const std::function<void()>& step)
{
    if (step)
        step();
    return !QTest::currentTestFailed();
}

QString number(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1);
}

} // namespace

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

Medians interleave(int repetitions, const Step& measured, const Step& floor)
{
    QVector<double> measuredRuns;
    QVector<double> floorRuns;
    Medians result;
    for (int i = 0; i < repetitions; ++i) {
        for (const Step* step : {&measured, &floor}) {
            if (!stepped(step->prepare))
                return result;
            const double ms = timed(step->run);
            if (QTest::currentTestFailed())
                return result;
            (step == &measured ? measuredRuns : floorRuns).append(ms);
            if (!stepped(step->finish))
                return result;
        }
    }
    result.measured = median(measuredRuns);
    result.floor = median(floorRuns);
    result.complete = true;
    return result;
}

void Table::printHeader() const
{
    std::printf("%-6s %-24s %12s %12s %7s %7s  %s\n", "case", "size", "measured", "floor", "ratio", "target", "verdict");
    std::fflush(stdout);
}

void Table::add(const QString& name, const QString& size, double measured, double floor, const QString& unit, double target,
                const QString& note)
{
    Line line;
    line.name = name;
    line.size = size;
    line.measured = number(measured) + QLatin1Char(' ') + unit;
    line.floor = number(floor) + QLatin1Char(' ') + unit;
    const double ratio = floor > 0 ? measured / floor : 0;
    line.ratio = floor > 0 ? QString::number(ratio, 'f', 2) : QStringLiteral("-");
    line.target = QStringLiteral("<= ") + QString::number(target, 'g', 3);
    line.verdict = floor > 0 && ratio <= target ? QStringLiteral("within") : QStringLiteral("over");
    line.note = note;
    m_lines.append(line);
    print(line);
}

void Table::addFailure(const QString& name, const QString& size, const QString& why)
{
    Line line;
    line.name = name;
    line.size = size;
    line.measured = line.floor = line.ratio = line.target = QStringLiteral("-");
    line.verdict = QStringLiteral("failed");
    line.note = why;
    m_lines.append(line);
    print(line);
}

void Table::print(const Line& line) const
{
    std::printf("%-6s %-24s %12s %12s %7s %7s  %s\n", qPrintable(line.name), qPrintable(line.size), qPrintable(line.measured),
                qPrintable(line.floor), qPrintable(line.ratio), qPrintable(line.target), qPrintable(line.verdict));
    if (!line.note.isEmpty())
        std::printf("       note: %s\n", qPrintable(line.note));
    std::fflush(stdout);
}

bool Table::writeMarkdown(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << "| case | size | measured | floor | ratio | target | verdict |\n|---|---|---:|---:|---:|---:|---|\n";
    QStringList notes;
    for (const Line& line : m_lines) {
        QString verdict = line.verdict;
        if (!line.note.isEmpty()) {
            notes.append(line.note);
            verdict += QStringLiteral(" (%1)").arg(notes.size());
        }
        out << "| " << line.name << " | " << line.size << " | " << line.measured << " | " << line.floor << " | " << line.ratio
            << " | " << line.target << " | " << verdict << " |\n";
    }
    if (!notes.isEmpty())
        out << '\n';
    for (int i = 0; i < notes.size(); ++i)
        out << "- (" << (i + 1) << ") " << notes.at(i) << '\n';
    return out.status() == QTextStream::Ok;
}

} // namespace KxBench
