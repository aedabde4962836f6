#pragma once

#include <QString>
#include <QVector>

#include <functional>

namespace KxBench {

double median(QVector<double> values);

// One side of a comparison: `run` is timed, `prepare` and `finish` (set-up,
// correctness checks, tear-down) are not. Each may be empty.
struct Step
{
    std::function<void()> prepare;
    std::function<void()> run;
    std::function<void()> finish;
};

struct Medians
{
    double measured = 0;   // ms
    double floor = 0;      // ms
    bool complete = false; // false when a check failed on the way
};

// Case and floor alternate (case, floor, case, floor, ...), so that a busy
// moment of the shared machine hits both alike; medians of the wall times.
// Stops at the first failed check of the running test function.
Medians interleave(int repetitions, const Step& measured, const Step& floor);

// The printed result: one line per case and size, as soon as it is known,
// and the whole table as Markdown at the end when asked for.
class Table
{
public:
    void printHeader() const;
    // `unit` is "ms" or "MB"; the verdict compares the ratio with the target.
    void add(const QString& name, const QString& size, double measured, double floor, const QString& unit, double target,
             const QString& note = QString());
    // A line without numbers, for a case that could not be measured.
    void addFailure(const QString& name, const QString& size, const QString& why);
    bool writeMarkdown(const QString& path) const;

private:
    struct Line
    {
        QString name, size, measured, floor, ratio, target, verdict, note;
    };
    void print(const Line& line) const;
    QVector<Line> m_lines;
};

} // namespace KxBench
