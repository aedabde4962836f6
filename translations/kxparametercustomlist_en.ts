<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>AxisCompareReport</name>
    <message>
        <source>Projektierung</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Antriebsregler A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Antriebsregler B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Antriebsregler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AxisCompareView</name>
    <message>
        <source>AxisCompareView</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ausgewähle Achsen sind gleich.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nur Unterschiede anzeigen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Als Bericht exportieren</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AxisCompareViewImplementation</name>
    <message>
        <source>Parameterübersicht als HTML exportieren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML-dateien (*.html)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListEntryItem</name>
    <message>
        <source>&lt;nicht vorhanden&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListEntryPrivate</name>
    <message>
        <source>&lt;nicht eindeutig&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListRepositoryPrivate</name>
    <message>
        <source>neue Parameterliste</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListRepositoryView</name>
    <message>
        <source>Variable Parameterlisten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Löschen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wollen Sie die variable Parameterliste unwiderruflich löschen?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;neue Liste&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Öffnen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Umbenennen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neue Liste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liste importieren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameterzusammenstellung importieren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Textdateien (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geöffnet werden</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListTreeWidget</name>
    <message>
        <source>Kopiere Wert nach &quot;%1&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kopiere Wert an alle Achsen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterCustomListWidget</name>
    <message>
        <source>Variable Pararameterliste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter hinzufügen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Koordinate eingeben</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Variable Pararameterliste - %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameterzusammenstellung exportieren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Textdateien (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geschrieben werden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameterzusammenstellung importieren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei %1 kann nicht geöffnet werden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Antriebsregler auswählen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liste leeren</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exportieren ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Importieren ...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SelectDeviceWidget</name>
    <message>
        <source>Alle auswählen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alle abwählen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Antriebsregler auswählen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
