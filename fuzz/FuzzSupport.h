#pragma once

// What every fuzz target shares: how a broken property ends the run, how
// defects whose fix is still under way are let through, and the Qt
// application the targets need.

#include <QString>

namespace KxFuzz {

// Reports the broken property with enough of the input's effect to read
// without a debugger, then aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char* property, const QString& detail = QString());

// A property broken in a way that a fix not yet merged addresses. The
// environment variable KX_FUZZ_PENDING lists such defect names (separated by
// commas); for those the input is counted and let through, for any other
// name this fails as fail() does. The caller returns after true.
bool pending(const char* defect, const QString& detail);

// How many inputs pending() let through, and under which names.
int pendingCount();
QString pendingNames();

// A QApplication on the offscreen platform with private settings, made once.
void ensureApplication();

} // namespace KxFuzz
