// Feeds arbitrary text to the parsers of coordinates and addresses. Every
// text form they write must read back as the same coordinate or address,
// and what the strict reading accepts the lenient one accepts alike.
#include "FuzzSupport.h"
#include "ParameterAddress.h"
#include "ParameterCoordinate.h"

#include <QString>

#include <cstdint>

namespace {

QString describe(const ParameterAddress& address)
{
    return QStringLiteral("valid=%1 coordinate=%2 element=%3 space=%4 hasElement=%5")
        .arg(address.isValid())
        .arg(address.coordinate().toText())
        .arg(address.element())
        .arg(address.livingSpace())
        .arg(address.hasElement());
}

void checkCoordinate(const ParameterCoordinate& coordinate, const QString& input)
{
    const QString text = coordinate.toText();
    const ParameterCoordinate again(text);
    if (again != coordinate || again.toText() != text || again.toNumber() != coordinate.toNumber())
        KxFuzz::fail("a coordinate reads back from its text", input + QStringLiteral(" -> ") + text);
    if (coordinate < coordinate)
        KxFuzz::fail("a coordinate is not less than itself", input);
    if (!coordinate.isValid()) {
        if (coordinate.toNumber() != 0 || !coordinate.letter().isNull() || coordinate.index() != -1)
            KxFuzz::fail("an invalid coordinate has no number, letter or index", input);
        return;
    }
    if (ParameterCoordinate(coordinate.toNumber()) != coordinate)
        KxFuzz::fail("a coordinate reads back from its number", input);
    if (coordinate.letter() < QLatin1Char('A') || coordinate.letter() > QLatin1Char('Z') || coordinate.index() < 0
        || coordinate.index() > 999)
        KxFuzz::fail("a valid coordinate has a letter A..Z and an index 0..999", input);
    // Upper case, two digits below 100 and three from 100 on.
    if (text.size() != (coordinate.index() < 100 ? 3 : 4) || text.at(0) != coordinate.letter())
        KxFuzz::fail("a coordinate's text is canonical", input + QStringLiteral(" -> ") + text);
}

void checkAddress(const ParameterAddress& address, const QString& input)
{
    if (!address.isValid()) {
        if (!address.toText().isEmpty() || !address.toSortableText().isEmpty())
            KxFuzz::fail("an invalid address has no text", input);
        return;
    }
    checkCoordinate(address.coordinate(), input);
    const QString text = address.toText();
    const ParameterAddress fromText(text, false);
    if (fromText != address || fromText.hasElement() != address.hasElement() || fromText.toText() != text)
        KxFuzz::fail("an address reads back strictly from its text",
                     input + QStringLiteral(" -> ") + text + QStringLiteral(": ") + describe(fromText));
    const QString sortable = address.toSortableText();
    const ParameterAddress fromSortable(sortable, false);
    if (fromSortable != address || fromSortable.toSortableText() != sortable)
        KxFuzz::fail("an address reads back strictly from its sortable text",
                     input + QStringLiteral(" -> ") + sortable + QStringLiteral(": ") + describe(fromSortable));
    if (qHash(fromText) != qHash(address) || qHash(fromSortable) != qHash(address))
        KxFuzz::fail("equal addresses hash alike", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    checkCoordinate(ParameterCoordinate(input), input);

    const ParameterAddress strict(input, false);
    const ParameterAddress lenient(input, true);
    checkAddress(strict, input);
    checkAddress(lenient, input);
    if (strict.isValid() && (strict != lenient || strict.hasElement() != lenient.hasElement()))
        KxFuzz::fail("what the strict reading accepts the lenient one reads alike",
                     input + QStringLiteral(": ") + describe(strict) + QStringLiteral(" / ") + describe(lenient));
    // The element is the one written in brackets, nothing else.
    if (lenient.isValid() && !lenient.hasElement() && lenient.element() != 0)
        KxFuzz::fail("an address without brackets is element 0", input);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}
