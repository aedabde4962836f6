// Feeds arbitrary bytes to a list as its stored item. Whatever a list makes
// of them must store and load again as the same list: load, save, load and
// save gives the same bytes, before and after the list's entries were made.
#include "FuzzSupport.h"
#include "ListTestSupport.h"

#include "ParameterCustomList.h"
#include "ParameterCustomListEntry.h"
#include "ParameterCustomListRepository.h"

#include <QCoreApplication>

#include <cstdint>

namespace {

ParameterCustomListRepository& repository()
{
    return ParameterCustomListRepository::instance();
}

ParameterCustomList* newList()
{
    return static_cast<ParameterCustomList*>(repository().createList());
}

QString shown(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes.toPercentEncoding(" =[]\n/{}-_:"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    KxFuzz::ensureApplication();
    // Controllers of several types, so that entries are reduced to what the
    // restored axes define.
    static KxTest::Host host(KxTest::project("feed"));
    repository().initialize(&host);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));
    ParameterCustomList* first = newList();
    if (first->loadData(input)) {
        const QByteArray saved = first->saveData();
        ParameterCustomList* second = newList();
        if (!second->loadData(saved))
            KxFuzz::fail("a saved list loads again", shown(saved));
        const QByteArray again = second->saveData();
        if (again != saved)
            KxFuzz::fail("load, save, load, save gives the same bytes", shown(saved) + QStringLiteral("\n--\n") + shown(again));
        // The entries are made only when something asks for them; made or
        // not, the list is the same. An entry whose selection kept no
        // element is stored, and comes back, as the whole parameter.
        if (KxTest::describe(*second).remove(QStringLiteral("[]")) != KxTest::describe(*first).remove(QStringLiteral("[]")))
            KxFuzz::fail("a list and its reloaded copy hold the same entries",
                         KxTest::describe(*first) + QStringLiteral(" / ") + KxTest::describe(*second));
        if (second->saveData() != saved)
            KxFuzz::fail("a list stores alike before and after its entries were made", shown(saved));
        if (second->name() != first->name() || second->identifier() != first->identifier())
            KxFuzz::fail("a reloaded list keeps its name and identifier", first->name() + QStringLiteral(" / ") + second->name());
    }
    repository().clear();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
