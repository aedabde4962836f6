// Feeds arbitrary bytes to the INI parser. Besides crashes it catches texts
// that do not settle: whatever the parser made of the input must come back
// unchanged after one more write and read.
#include "FuzzSupport.h"
#include "IniParser.h"

#include <QByteArray>

#include <cstdint>

namespace {

bool sameContent(const RnIniParser::IniParser& a, const RnIniParser::IniParser& b)
{
    if (a.sectionNames() != b.sectionNames())
        return false;
    for (const QByteArray& name : a.sectionNames()) {
        const RnIniParser::IniSection* left = a.section(name);
        const RnIniParser::IniSection* right = b.section(name);
        if (!right || left->keys() != right->keys())
            return false;
        for (const QByteArray& key : left->keys())
            if (left->value(key) != right->value(key))
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RnIniParser::IniParser first;
    first.setIniText(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QByteArray text = first.getIniText();

    RnIniParser::IniParser second;
    second.setIniText(text);
    if (!sameContent(first, second) || second.getIniText() != text)
        KxFuzz::fail("INI text survives a round trip", QString::fromUtf8(text));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}
