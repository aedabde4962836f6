#pragma once

#include <QtGlobal>

#include <vector>

// A set of parameter coordinates by their 16-bit numbers: one bit each
// (8 KiB for all of them) instead of a hash node each, for the passes that
// gather every parameter of an axis.
class CoordinateNumberSet
{
public:
    bool contains(quint16 number) const { return m_bits[number >> 6] & bit(number); }
    // Whether the number was not in the set before.
    bool insert(quint16 number)
    {
        quint64& word = m_bits[number >> 6];
        const bool added = !(word & bit(number));
        word |= bit(number);
        return added;
    }

private:
    static quint64 bit(quint16 number) { return quint64(1) << (number & 63); }

    std::vector<quint64> m_bits = std::vector<quint64>(1024);
};
