<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>AxisCompareReport</name>
    <message>
        <source>Projektierung</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Antriebsregler A</source>
        <translation>Drive controller A</translation>
    </message>
    <message>
        <source>Antriebsregler B</source>
        <translation>Drive controller B</translation>
    </message>
    <message>
        <source>Antriebsregler</source>
        <translation>Drive controller</translation>
    </message>
    <message>
        <source>Achse</source>
        <translation>Axis</translation>
    </message>
</context>
<context>
    <name>AxisCompareView</name>
    <message>
        <source>AxisCompareView</source>
        <translation>AxisCompareView</translation>
    </message>
    <message>
        <source>Ausgewähle Achsen sind gleich.</source>
        <translation>The selected axes are identical.</translation>
    </message>
    <message>
        <source>Nur Unterschiede anzeigen</source>
        <translation>Show differences only</translation>
    </message>
    <message>
        <source>Als Bericht exportieren</source>
        <translation>Export as Report</translation>
    </message>
    <message>
        <source>Keine Unterschiede</source>
        <translation>No differences</translation>
    </message>
</context>
<context>
    <name>AxisCompareViewImplementation</name>
    <message>
        <source>Parameterübersicht als HTML exportieren</source>
        <translation>Export Parameter Overview as HTML</translation>
    </message>
    <message>
        <source>HTML-dateien (*.html)</source>
        <translation>HTML files (*.html)</translation>
    </message>
    <message>
        <source>%1 von %2 Parametern unterschiedlich</source>
        <translation>%1 of %2 parameters differ</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListEntryItem</name>
    <message>
        <source>&lt;nicht vorhanden&gt;</source>
        <translation>&lt;not available&gt;</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListEntryPrivate</name>
    <message>
        <source>&lt;nicht eindeutig&gt;</source>
        <translation>&lt;ambiguous&gt;</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListImport</name>
    <message>
        <source>sie enthält Null-Bytes, ist also keine Textdatei</source>
        <translation>it contains NUL bytes, so it is no text file</translation>
    </message>
    <message>
        <source>sie hat %1 Zeilen, mehr als %2</source>
        <translation>it has %1 lines, more than %2</translation>
    </message>
    <message>
        <source>%1 ihrer %2 Zeilen sind kein gültiger UTF-8-Text</source>
        <translation>%1 of its %2 lines are not valid UTF-8 text</translation>
    </message>
    <message>
        <source>Die Datei %1 sieht nicht nach einer Parameterzusammenstellung aus: %2.

Der Import macht aus jeder Zeile, die mit einem Parameternamen beginnt, einen Eintrag der Liste; die Datei hat %3 Zeilen, es können also bis zu %3 Einträge entstehen.

Trotzdem importieren?</source>
        <translation>The file %1 does not look like a parameter selection: %2.

The import makes every line that starts with a parameter name an entry of the list; the file has %3 lines, so up to %3 entries may result.

Import anyway?</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListRepositoryPrivate</name>
    <message>
        <source>neue Parameterliste</source>
        <translation>new parameter list</translation>
    </message>
    <message>
        <source>der Abschnitt „%1“ fehlt</source>
        <translation>the section “%1” is missing</translation>
    </message>
    <message>
        <source>die Kennung („Value“ im Abschnitt „List“) fehlt</source>
        <translation>the identifier (“Value” in the section “List”) is missing</translation>
    </message>
    <message>
        <source>der Name („Name“ im Abschnitt „List“) fehlt</source>
        <translation>the name (“Name” in the section “List”) is missing</translation>
    </message>
    <message>
        <source>der Text lässt sich nicht lesen</source>
        <translation>the text cannot be read</translation>
    </message>
    <message>
        <source>Die Liste kann nicht wiederhergestellt werden: %1.</source>
        <translation>The list cannot be restored: %1.</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListRepositoryView</name>
    <message>
        <source>Variable Parameterlisten</source>
        <translation>Variable Parameter Lists</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Wollen Sie die variable Parameterliste unwiderruflich löschen?</source>
        <translation>Do you want to delete the variable parameter list permanently?</translation>
    </message>
    <message>
        <source>&lt;neue Liste&gt;</source>
        <translation>&lt;new list&gt;</translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Umbenennen</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>Neue Liste</source>
        <translation>New List</translation>
    </message>
    <message>
        <source>Liste importieren</source>
        <translation>Import List</translation>
    </message>
    <message>
        <source>Parameterzusammenstellung importieren</source>
        <translation>Import Parameter Selection</translation>
    </message>
    <message>
        <source>Textdateien (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geöffnet werden</source>
        <translation>The file %1 cannot be opened</translation>
    </message>
    <message>
        <source>%1 importiert: neue Liste &quot;%2&quot; mit %3 Parametern</source>
        <translation>%1 imported: new list &quot;%2&quot; with %3 parameters</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListTreeWidget</name>
    <message>
        <source>Kopiere Wert nach &quot;%1&quot;</source>
        <translation>Copy Value to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Ctrl+%1</source>
        <translation>Ctrl+%1</translation>
    </message>
    <message>
        <source>Kopiere Wert an alle Achsen</source>
        <translation>Copy Value to All Axes</translation>
    </message>
    <message>
        <source>%1 neu gelesen von %2</source>
        <translation>%1 read again from %2</translation>
    </message>
    <message>
        <source>%1 nicht gelesen, offline: %2</source>
        <translation>%1 not read, offline: %2</translation>
    </message>
</context>
<context>
    <name>ParameterCustomListWidget</name>
    <message>
        <source>Variable Pararameterliste</source>
        <translation>Variable Parameter List</translation>
    </message>
    <message>
        <source>Parameter hinzufügen</source>
        <translation>Add parameter</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Variable Pararameterliste - %1</source>
        <translation>Variable Parameter List - %1</translation>
    </message>
    <message>
        <source>Parameterzusammenstellung exportieren</source>
        <translation>Export Parameter Selection</translation>
    </message>
    <message>
        <source>Textdateien (*.txt)</source>
        <translation>Text files (*.txt)</translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geschrieben werden</source>
        <translation>The file %1 cannot be written</translation>
    </message>
    <message>
        <source>Parameterzusammenstellung importieren</source>
        <translation>Import Parameter Selection</translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geöffnet werden</source>
        <translation>The file %1 cannot be opened</translation>
    </message>
    <message>
        <source>Antriebsregler auswählen ...</source>
        <translation>Select Drive Controllers ...</translation>
    </message>
    <message>
        <source>Liste leeren</source>
        <translation>Clear List</translation>
    </message>
    <message>
        <source>Exportieren ...</source>
        <translation>Export ...</translation>
    </message>
    <message>
        <source>Importieren ...</source>
        <translation>Import ...</translation>
    </message>
    <message>
        <source>Koordinate oder Name eingeben</source>
        <translation>Enter a coordinate or name</translation>
    </message>
    <message>
        <source>%1 wurde hinzugefügt, aber keine Achse der Liste kennt diesen Parameter.</source>
        <translation>%1 was added, but none of the list&apos;s axes knows this parameter.</translation>
    </message>
    <message>
        <source>Kein Parameter der Achsen passt zu &quot;%1&quot;.</source>
        <translation>No parameter of the axes matches &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>%1 Parameter passen zu &quot;%2&quot;; bitte einen aus der Liste wählen.</source>
        <translation>%1 parameters match &quot;%2&quot;; please choose one from the list.</translation>
    </message>
    <message>
        <source>Liste &quot;%1&quot; mit %2 Parametern nach %3 exportiert</source>
        <translation>List &quot;%1&quot; with %2 parameters exported to %3</translation>
    </message>
    <message>
        <source>%1 importiert: %2 Parameter in der Liste &quot;%3&quot;, vorher %4</source>
        <translation>%1 imported: %2 parameters in the list &quot;%3&quot;, %4 before</translation>
    </message>
</context>
<context>
    <name>SelectDeviceWidget</name>
    <message>
        <source>Alle auswählen</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Alle abwählen</source>
        <translation>Deselect All</translation>
    </message>
    <message>
        <source>Antriebsregler auswählen</source>
        <translation>Select Drive Controllers</translation>
    </message>
</context>
</TS>
