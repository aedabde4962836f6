<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>DefaultPathSetting</name>
    <message>
        <source>Projekt.kxproj</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gerätebeschreibung.json</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameterexport.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware.bin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Protokoll.log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameterauswahl.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scope-Einstellungen.ini</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oszilloskop-Aufzeichnung.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bildschirmfoto.png</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sicherung.kxbak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skript.js</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lizenz.lic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rezeptur.csv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsvergleich.html</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unbenannt</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DeviceDescription</name>
    <message>
        <source>Achse %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWidget</name>
    <message>
        <source>Keine Hilfe zu „%1“ vorhanden.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KxParameterValues</name>
    <message>
        <source>%1 ist keine Zahl.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Es sind nur ganze Zahlen erlaubt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hཬhstens %n Nachkommastelle(n) erlaubt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Wert muss zwischen %1 und %2 liegen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ist kein Schaltzustand (Aus oder Ein).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ist nicht in der Auswahlliste.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Text ist zu lang (hཬhstens %1 Zeichen).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das Element hat keinen Wert.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unbekannte Werteart.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ein</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterItemComboBox</name>
    <message>
        <source>Der Wert wurde nicht übernommen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterItemEdit</name>
    <message>
        <source>Der Wert wurde nicht übernommen.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterPropertyList</name>
    <message>
        <source>Eigenschaft</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name (deutsch)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name (englisch)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Art</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gültigkeit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gezeigte Achse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anzahl Elemente</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Element-Indizes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Element %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parameter %1 ist nicht verfügbar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Werteart</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standardwert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(kein Wert)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Grenzen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 … %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nachkommastellen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auswahlliste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximale Länge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unbegrenzt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beschreibbar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aktiv</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kategorie</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nein</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Feld</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Struktur</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Einfacher Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zahl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auswahl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schalter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gerät (für alle Achsen gemeinsam)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Je Achse (alle Achsen)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Je Achse (Achsen %1)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterSetup</name>
    <message>
        <source>Der Parameter %1 hat kein Element %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das Element hat keinen Wert.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Parameter %1 ist für Achse %2 nicht vorhanden.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das Gerät ist schreibgeschützt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Parameter ist schreibgeschützt.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ParameterView</name>
    <message>
        <source>Parameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Geändert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Element %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zur Liste hinzufügen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aus Liste entfernen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>unbekannter Datenbankfehler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ungültige Formatversion „%1“</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tabellen fehlen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ existiert nicht.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>„%1“ ist keine Datei und daher keine Projektdatei.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ kann nicht gelesen werden: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist leer und daher keine Projektdatei.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist keine Projektdatei (sie ist keine SQLite-Datenbank).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ ist beschädigt: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist eine SQLite-Datenbank, aber keine Projektdatei dieses Programms.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ wurde mit einer neueren Programmversion gespeichert (Format %2); dieses Programm kennt nur Projekte bis Format %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>die Wurzel des Speicherbaums fehlt oder ist mehrfach vorhanden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ein Eintrag gehört zu keinem Speicher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schreibvorgang nach %1 Einträgen abgebrochen (Fehlersimulation)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ kann nicht gelesen werden: Der SQLite-Treiber fehlt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ konnte nicht gespeichert werden: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der SQLite-Treiber fehlt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sie wird nicht überschrieben.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Im Verzeichnis „%1“ kann keine Datei angelegt werden (%2).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die fertige Datei kann nicht umbenannt werden (%1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
