<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>DefaultPathSetting</name>
    <message>
        <source>Projekt.kxproj</source>
        <translation>Project.kxproj</translation>
    </message>
    <message>
        <source>Gerätebeschreibung.json</source>
        <translation>DeviceDescription.json</translation>
    </message>
    <message>
        <source>Parameterexport.csv</source>
        <translation>ParameterExport.csv</translation>
    </message>
    <message>
        <source>Firmware.bin</source>
        <translation>Firmware.bin</translation>
    </message>
    <message>
        <source>Protokoll.log</source>
        <translation>EventLog.log</translation>
    </message>
    <message>
        <source>Parameterauswahl.txt</source>
        <translation>ParameterSelection.txt</translation>
    </message>
    <message>
        <source>Scope-Einstellungen.ini</source>
        <translation>Scope-Settings.ini</translation>
    </message>
    <message>
        <source>Oszilloskop-Aufzeichnung.csv</source>
        <translation>Oscilloscope-Recording.csv</translation>
    </message>
    <message>
        <source>Bildschirmfoto.png</source>
        <translation>Screenshot.png</translation>
    </message>
    <message>
        <source>Sicherung.kxbak</source>
        <translation>Backup.kxbak</translation>
    </message>
    <message>
        <source>Skript.js</source>
        <translation>Script.js</translation>
    </message>
    <message>
        <source>Lizenz.lic</source>
        <translation>License.lic</translation>
    </message>
    <message>
        <source>Rezeptur.csv</source>
        <translation>Recipe.csv</translation>
    </message>
    <message>
        <source>Achsvergleich.html</source>
        <translation>AxisComparison.html</translation>
    </message>
    <message>
        <source>Unbenannt</source>
        <translation>Untitled</translation>
    </message>
</context>
<context>
    <name>DeviceDescription</name>
    <message>
        <source>Achse %1</source>
        <translation>Axis %1</translation>
    </message>
</context>
<context>
    <name>HelpWidget</name>
    <message>
        <source>Keine Hilfe zu „%1“ vorhanden.</source>
        <translation>No help available for “%1”.</translation>
    </message>
</context>
<context>
    <name>ParameterItemComboBox</name>
    <message>
        <source>Der Wert wurde nicht übernommen.</source>
        <translation>The value was not accepted.</translation>
    </message>
</context>
<context>
    <name>ParameterItemEdit</name>
    <message>
        <source>Der Wert wurde nicht übernommen.</source>
        <translation>The value was not accepted.</translation>
    </message>
</context>
<context>
    <name>ParameterPropertyList</name>
    <message>
        <source>Eigenschaft</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Name (deutsch)</source>
        <translation>Name (German)</translation>
    </message>
    <message>
        <source>Name (englisch)</source>
        <translation>Name (English)</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Gültigkeit</source>
        <translation>Scope</translation>
    </message>
    <message>
        <source>Gezeigte Achse</source>
        <translation>Axis shown</translation>
    </message>
    <message>
        <source>Anzahl Elemente</source>
        <translation>Number of elements</translation>
    </message>
    <message>
        <source>Element-Indizes</source>
        <translation>Element indices</translation>
    </message>
    <message>
        <source>Element %1</source>
        <translation>Element %1</translation>
    </message>
    <message>
        <source>Parameter %1 ist nicht verfügbar.</source>
        <translation>Parameter %1 is not available.</translation>
    </message>
    <message>
        <source>Werteart</source>
        <translation>Value type</translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Standardwert</source>
        <translation>Default value</translation>
    </message>
    <message>
        <source>(kein Wert)</source>
        <translation>(no value)</translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Grenzen</source>
        <translation>Limits</translation>
    </message>
    <message>
        <source>%1 … %2</source>
        <translation>%1 … %2</translation>
    </message>
    <message>
        <source>Nachkommastellen</source>
        <translation>Decimal places</translation>
    </message>
    <message>
        <source>Auswahlliste</source>
        <translation>Choices</translation>
    </message>
    <message>
        <source>Maximale Länge</source>
        <translation>Maximum length</translation>
    </message>
    <message>
        <source>unbegrenzt</source>
        <translation>unlimited</translation>
    </message>
    <message>
        <source>Beschreibbar</source>
        <translation>Writable</translation>
    </message>
    <message>
        <source>Aktiv</source>
        <translation>Active</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>Kategorie</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>Ja</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nein</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Feld</source>
        <translation>Array</translation>
    </message>
    <message>
        <source>Struktur</source>
        <translation>Structure</translation>
    </message>
    <message>
        <source>Einfacher Parameter</source>
        <translation>Simple parameter</translation>
    </message>
    <message>
        <source>Zahl</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Auswahl</source>
        <translation>Choice</translation>
    </message>
    <message>
        <source>Schalter</source>
        <translation>Switch</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Gerät (für alle Achsen gemeinsam)</source>
        <translation>Device (shared by all axes)</translation>
    </message>
    <message>
        <source>Je Achse (alle Achsen)</source>
        <translation>Per axis (all axes)</translation>
    </message>
    <message>
        <source>Je Achse (Achsen %1)</source>
        <translation>Per axis (axes %1)</translation>
    </message>
</context>
<context>
    <name>ParameterSetup</name>
    <message>
        <source>Der Parameter %1 hat kein Element %2.</source>
        <translation>Parameter %1 has no element %2.</translation>
    </message>
    <message>
        <source>Das Element hat keinen Wert.</source>
        <translation>The element has no value.</translation>
    </message>
    <message>
        <source>Der Parameter %1 ist für Achse %2 nicht vorhanden.</source>
        <translation>Parameter %1 does not exist for axis %2.</translation>
    </message>
    <message>
        <source>Das Gerät ist schreibgeschützt.</source>
        <translation>The device is write-protected.</translation>
    </message>
    <message>
        <source>Der Parameter ist schreibgeschützt.</source>
        <translation>The parameter is write-protected.</translation>
    </message>
    <message>
        <source>%1 ist keine Zahl.</source>
        <translation>%1 is not a number.</translation>
    </message>
    <message>
        <source>Es sind nur ganze Zahlen erlaubt.</source>
        <translation>Only whole numbers are allowed.</translation>
    </message>
    <message numerus="yes">
        <source>Höchstens %n Nachkommastelle(n) erlaubt.</source>
        <translation>
            <numerusform>At most %n decimal place is allowed.</numerusform>
            <numerusform>At most %n decimal places are allowed.</numerusform>
        </translation>
    </message>
    <message>
        <source>Der Wert muss zwischen %1 und %2 liegen.</source>
        <translation>The value must be between %1 and %2.</translation>
    </message>
    <message>
        <source>%1 ist kein Schaltzustand (Aus oder Ein).</source>
        <translation>%1 is not a switch state (Off or On).</translation>
    </message>
    <message>
        <source>%1 ist nicht in der Auswahlliste.</source>
        <translation>%1 is not one of the choices.</translation>
    </message>
    <message>
        <source>Der Text ist zu lang (höchstens %1 Zeichen).</source>
        <translation>The text is too long (at most %1 characters).</translation>
    </message>
    <message>
        <source>Unbekannte Werteart.</source>
        <translation>Unknown value type.</translation>
    </message>
    <message>
        <source>Aus</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>Ein</source>
        <translation>On</translation>
    </message>
</context>
<context>
    <name>ParameterView</name>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Wert</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>Referenz</source>
        <translation>Reference</translation>
    </message>
    <message>
        <source>Einheit</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>Geändert</source>
        <translation>Modified</translation>
    </message>
    <message>
        <source>Element %1</source>
        <translation>Element %1</translation>
    </message>
    <message>
        <source>Zur Liste hinzufügen</source>
        <translation>Add to List</translation>
    </message>
    <message>
        <source>Aus Liste entfernen</source>
        <translation>Remove from List</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>ungültige Formatversion „%1“</source>
        <translation>invalid format version “%1”</translation>
    </message>
    <message>
        <source>Tabellen fehlen</source>
        <translation>tables are missing</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ existiert nicht.</source>
        <translation>The project file “%1” does not exist.</translation>
    </message>
    <message>
        <source>„%1“ ist keine Datei und daher keine Projektdatei.</source>
        <translation>“%1” is not a file and therefore not a project file.</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ kann nicht gelesen werden: %2</source>
        <translation>The project file “%1” cannot be read: %2</translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist leer und daher keine Projektdatei.</source>
        <translation>The file “%1” is empty and therefore not a project file.</translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist keine Projektdatei (sie ist keine SQLite-Datenbank).</source>
        <translation>The file “%1” is not a project file (it is not an SQLite database).</translation>
    </message>
    <message>
        <source>Die Datei „%1“ ist eine SQLite-Datenbank, aber keine Projektdatei dieses Programms.</source>
        <translation>The file “%1” is an SQLite database, but not a project file of this program.</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ wurde mit einer neueren Programmversion gespeichert (Format %2); dieses Programm kennt nur Projekte bis Format %3.</source>
        <translation>The project file “%1” was saved by a newer version of the program (format %2); this program only knows projects up to format %3.</translation>
    </message>
    <message>
        <source>die Wurzel des Speicherbaums fehlt oder ist mehrfach vorhanden</source>
        <translation>the root of the storage tree is missing or present more than once</translation>
    </message>
    <message>
        <source>Schreibvorgang nach %1 Einträgen abgebrochen (Fehlersimulation)</source>
        <translation>writing aborted after %1 items (simulated failure)</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ kann nicht gelesen werden: Der SQLite-Treiber fehlt.</source>
        <translation>The project file “%1” cannot be read: the SQLite driver is missing.</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ konnte nicht gespeichert werden: %2</source>
        <translation>The project file “%1” could not be saved: %2</translation>
    </message>
    <message>
        <source>Der SQLite-Treiber fehlt.</source>
        <translation>The SQLite driver is missing.</translation>
    </message>
    <message>
        <source>Sie wird nicht überschrieben.</source>
        <translation>It will not be overwritten.</translation>
    </message>
    <message>
        <source>Im Verzeichnis „%1“ kann keine Datei angelegt werden (%2).</source>
        <translation>No file can be created in the directory “%1” (%2).</translation>
    </message>
    <message>
        <source>Die fertige Datei kann nicht umbenannt werden (%1).</source>
        <translation>The finished file cannot be renamed (%1).</translation>
    </message>
    <message>
        <source>Einzelheiten: %1</source>
        <translation>details: %1</translation>
    </message>
    <message>
        <source>der Inhalt der Datei ist beschädigt</source>
        <translation>the content of the file is corrupt</translation>
    </message>
    <message>
        <source>der Datenträger ist voll</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>die Datei oder ihr Verzeichnis ist schreibgeschützt</source>
        <translation>the file or its directory is write-protected</translation>
    </message>
    <message>
        <source>die Datei kann nicht geöffnet werden (fehlen Zugriffsrechte?)</source>
        <translation>the file cannot be opened (missing permissions?)</translation>
    </message>
    <message>
        <source>die Datei wird gerade von einem anderen Programm benutzt</source>
        <translation>the file is in use by another program</translation>
    </message>
    <message>
        <source>der Datenträger meldet einen Lese- oder Schreibfehler</source>
        <translation>the disk reports a read or write error</translation>
    </message>
    <message>
        <source>der Arbeitsspeicher reicht nicht aus</source>
        <translation>there is not enough memory</translation>
    </message>
    <message>
        <source>die Datenbank meldet einen Fehler</source>
        <translation>the database reports an error</translation>
    </message>
    <message>
        <source>die Formatangaben sind unlesbar</source>
        <translation>the format information is unreadable</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ ist beschädigt.</source>
        <translation>The project file “%1” is corrupt.</translation>
    </message>
    <message>
        <source>Die Projektdatei „%1“ ist beschädigt (%2).</source>
        <translation>The project file “%1” is corrupt (%2).</translation>
    </message>
    <message>
        <source>Projekt „%1“, Speicher „%2“, Eintrag „%3“</source>
        <translation>Project “%1”, storage “%2”, item “%3”</translation>
    </message>
    <message>
        <source>(oberste Ebene)</source>
        <translation>(top level)</translation>
    </message>
    <message>
        <source>%1: kann nicht gelesen werden, weil die Datei an dieser Stelle beschädigt ist; der Eintrag fehlt im geöffneten Projekt.</source>
        <translation>%1: cannot be read because the file is corrupt there; the item is missing from the opened project.</translation>
    </message>
    <message>
        <source>%1: der Inhalt wurde verändert (die Prüfsumme stimmt nicht); er wird nicht verwendet, beim Speichern aber unverändert aufbewahrt.</source>
        <translation>%1: the content was changed (the checksum does not match); it is not used, but kept unchanged when saving.</translation>
    </message>
    <message>
        <source>%1: der Speicher dieses Eintrags kann nicht gelesen werden; der Eintrag wird nicht verwendet, beim Speichern aber unverändert aufbewahrt.</source>
        <translation>%1: the storage of this item cannot be read; the item is not used, but kept unchanged when saving.</translation>
    </message>
    <message numerus="yes">
        <source>Projekt „%1“: %n Speicher kann/können nicht gelesen werden.</source>
        <translation>
            <numerusform>Project “%1”: %n storage cannot be read.</numerusform>
            <numerusform>Project “%1”: %n storages cannot be read.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Projekt „%1“: %n weitere(r) Eintrag/Einträge kann/können nicht gelesen werden.</source>
        <translation>
            <numerusform>Project “%1”: %n more item cannot be read.</numerusform>
            <numerusform>Project “%1”: %n more items cannot be read.</numerusform>
        </translation>
    </message>
    <message>
        <source>Projekt „%1“: die Datei ist beschädigt; alles Lesbare wurde geladen, es können aber Einträge fehlen.</source>
        <translation>Project “%1”: the file is corrupt; everything readable was loaded, but items may be missing.</translation>
    </message>
    <message>
        <source>Speicher %1</source>
        <translation>storage %1</translation>
    </message>
    <message>
        <source>Die Datei bleibt, wie sie ist; speichern Sie das Projekt bitte unter einem anderen Namen.</source>
        <translation>The file stays as it is; please save the project under another name.</translation>
    </message>
</context>
</TS>
