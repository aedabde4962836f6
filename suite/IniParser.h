#pragma once

#include "KxSuiteGlobal.h"

#include <QByteArray>
#include <QList>

#include <memory>

namespace RnIniParser {

class IniParser;
class IniParserPrivate;
class IniSectionPrivate;

/**
 * One section of an INI text: an ordered set of unique keys, each with a
 * value. Names, keys and values are arbitrary bytes.
 *
 * Sections are created and owned by their IniParser; a pointer stays valid
 * until the parser is destroyed or given a new text with setIniText().
 */
class KXSUITE_EXPORT IniSection
{
public:
    QByteArray name() const;

    /// The keys in the order in which they were first set.
    QList<QByteArray> keys() const;

    /// The value of @p key; empty when the section has no such key.
    QByteArray value(const QByteArray& key) const;
    bool contains(const QByteArray& key) const;

    /// Sets the value of @p key. An existing key keeps its position, a new
    /// key is appended.
    void setValue(const QByteArray& key, const QByteArray& value);
    void removeKey(const QByteArray& key);

private:
    friend class IniParser;
    friend class IniParserPrivate;
    explicit IniSection(const QByteArray& name);
    ~IniSection();
    Q_DISABLE_COPY(IniSection)

    std::unique_ptr<IniSectionPrivate> const d;
};

/**
 * Reads and writes INI texts whose section names, keys and values may hold
 * any bytes.
 *
 * getIniText() writes one "[name]" line per section followed by one
 * "key=value" line per key. Printable UTF-8 is written as it is; everything
 * that would break the line structure is escaped with a backslash:
 * "\\" for a backslash, "\n", "\r" and "\t" for line breaks and tabs, "\xHH"
 * for other control bytes and bytes that are not valid UTF-8, "\=" for "="
 * in keys, "\[" and "\]" in section names, "\;", "\#" and "\[" at the start
 * of a key, and "\x20" or "\t" for blanks at the start or end of a field.
 * setIniText() of that text gives back every name, key and value byte for
 * byte.
 *
 * setIniText() accepts any bytes. Lines before the first section, lines
 * without "=" and comment lines (starting with ";" or "#") are skipped; "\n",
 * "\r\n" and "\r" all end a line; blanks around names, keys and values are
 * dropped unless escaped; a repeated section continues the first one, and of
 * a repeated key the last value wins while the key keeps its first position.
 * A backslash followed by anything but a known escape stays as it is.
 */
class KXSUITE_EXPORT IniParser
{
public:
    IniParser();
    ~IniParser();

    /// Returns the section called @p name, appending a new empty one when
    /// there is none yet.
    IniSection* createSection(const QByteArray& name);

    /// The section called @p name, or null. Owned by the parser.
    IniSection* section(const QByteArray& name) const;

    /// The names of all sections in the order of their creation.
    QList<QByteArray> sectionNames() const;

    /// Removes the section called @p name; pointers to it become invalid.
    void removeSection(const QByteArray& name);

    /// Removes all sections; all section pointers become invalid.
    void clear();

    QByteArray getIniText() const;

    /// Replaces the whole content by the sections of @p text. All section
    /// pointers handed out before become invalid.
    void setIniText(const QByteArray& text);

private:
    Q_DISABLE_COPY(IniParser)
    std::unique_ptr<IniParserPrivate> const d;
};

} // namespace RnIniParser
