<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>AddControllerDialog</name>
    <message>
        <source>Regler hinzufügen</source>
        <translation>Add Controller</translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation>%1 – %2</translation>
    </message>
    <message>
        <source> von %1</source>
        <translation> of %1</translation>
    </message>
    <message>
        <source>&amp;Gerätetyp:</source>
        <translation>Device &amp;type:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Anzahl Achsen:</source>
        <translation>Number of &amp;axes:</translation>
    </message>
</context>
<context>
    <name>AxisComparisons</name>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Achsvergleich – A: %1 – B: %2</source>
        <translation>Axis Comparison – A: %1 – B: %2</translation>
    </message>
    <message>
        <source>%1 (%2), %3</source>
        <translation>%1 (%2), %3</translation>
    </message>
</context>
<context>
    <name>CompareAxesDialog</name>
    <message>
        <source>&amp;Antriebsregler:</source>
        <translation>&amp;Drive controller:</translation>
    </message>
    <message>
        <source>A&amp;chse:</source>
        <translation>A&amp;xis:</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Achsen vergleichen</source>
        <translation>Compare Axes</translation>
    </message>
    <message>
        <source>Seite A</source>
        <translation>Side A</translation>
    </message>
    <message>
        <source>Seite B</source>
        <translation>Side B</translation>
    </message>
    <message>
        <source>&amp;Vergleichen</source>
        <translation>&amp;Compare</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Andere Projektdatei ...</source>
        <translation>Other Project File ...</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Projekt</source>
        <translation>&amp;Project</translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Werkzeugleiste</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>&amp;Neu</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>Ö&amp;ffnen ...</source>
        <translation>&amp;Open ...</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Speichern &amp;unter ...</source>
        <translation>Save &amp;As ...</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>Regler &amp;hinzufügen ...</source>
        <translation>&amp;Add Controller ...</translation>
    </message>
    <message>
        <source>Regler &amp;entfernen</source>
        <translation>&amp;Remove Controller</translation>
    </message>
    <message>
        <source>&amp;Achse hinzufügen ...</source>
        <translation>Add A&amp;xis ...</translation>
    </message>
    <message>
        <source>Achse en&amp;tfernen</source>
        <translation>Remo&amp;ve Axis</translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation>&amp;Online</translation>
    </message>
    <message>
        <source>Den gewählten Regler online oder offline schalten</source>
        <translation>Switch the selected controller online or offline</translation>
    </message>
    <message>
        <source>&amp;Variable Parameterlisten</source>
        <translation>&amp;Variable Parameter Lists</translation>
    </message>
    <message>
        <source>Variable Parameterlisten</source>
        <translation>Variable Parameter Lists</translation>
    </message>
    <message>
        <source>Achsen vergleichen ...</source>
        <translation>Compare Axes ...</translation>
    </message>
    <message>
        <source> &amp;Zugriffsebene: </source>
        <translation> Access &amp;level: </translation>
    </message>
    <message>
        <source>Ebene %1</source>
        <translation>Level %1</translation>
    </message>
    <message>
        <source>Unbenannt (aus %1)</source>
        <translation>Untitled (from %1)</translation>
    </message>
    <message>
        <source>Unbenannt</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1[*] – KX Suite</source>
        <translation>%1[*] – KX Suite</translation>
    </message>
    <message numerus="yes">
        <source>... und %n weitere (siehe Details)</source>
        <translation>
            <numerusform>... and %n more (see details)</numerusform>
            <numerusform>... and %n more (see details)</numerusform>
        </translation>
    </message>
    <message>
        <source>Projekt geändert</source>
        <translation>Project Modified</translation>
    </message>
    <message>
        <source>Das Projekt „%1“ wurde geändert. Sollen die Änderungen gespeichert werden?</source>
        <translation>The project “%1” has been modified. Do you want to save your changes?</translation>
    </message>
    <message>
        <source>Bericht gespeichert unter „%1“.</source>
        <translation>Report saved as “%1”.</translation>
    </message>
    <message>
        <source>Achsvergleich</source>
        <translation>Axis Comparison</translation>
    </message>
    <message>
        <source>Der Bericht wurde unter „%1“ gespeichert.</source>
        <translation>The report has been saved as “%1”.</translation>
    </message>
    <message>
        <source>Im &amp;Browser öffnen</source>
        <translation>Open in &amp;Browser</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Für „%1“ ist kein Browser eingerichtet.</source>
        <translation>No browser is set up for “%1”.</translation>
    </message>
    <message numerus="yes">
        <source>%n Gerätebeschreibung(en) abgelehnt: %1</source>
        <translation>
            <numerusform>%n device description rejected: %1</numerusform>
            <numerusform>%n device descriptions rejected: %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Gerätetyp(en) verfügbar.</source>
        <translation>
            <numerusform>%n device type available.</numerusform>
            <numerusform>%n device types available.</numerusform>
        </translation>
    </message>
    <message>
        <source>Öffnen fehlgeschlagen</source>
        <translation>Open Failed</translation>
    </message>
    <message numerus="yes">
        <source>%n variable Parameterliste(n) in „%1“ kann/können nicht gelesen werden; sie bleiben beim Speichern unverändert erhalten.</source>
        <translation>
            <numerusform>%n variable parameter list in “%1” cannot be read; it is kept unchanged when saving.</numerusform>
            <numerusform>%n variable parameter lists in “%1” cannot be read; they are kept unchanged when saving.</numerusform>
        </translation>
    </message>
    <message>
        <source>Projekt unvollständig geladen</source>
        <translation>Project Loaded Incompletely</translation>
    </message>
    <message numerus="yes">
        <source>Aus „%1“ wurde nicht alles übernommen; %n Angabe(n) wurden weggelassen:</source>
        <translation>
            <numerusform>Not everything could be taken from “%1”; %n item was left out:</numerusform>
            <numerusform>Not everything could be taken from “%1”; %n items were left out:</numerusform>
        </translation>
    </message>
    <message>
        <source>Speichern fehlgeschlagen</source>
        <translation>Save Failed</translation>
    </message>
    <message>
        <source>Projekt gespeichert unter „%1“.</source>
        <translation>Project saved as “%1”.</translation>
    </message>
    <message>
        <source>Neues, leeres Projekt.</source>
        <translation>New, empty project.</translation>
    </message>
    <message>
        <source>Projekt öffnen</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Projektdateien (*.%1);;Gerätebeschreibungen (*.json);;Alle Dateien (*)</source>
        <translation>Project files (*.%1);;Device descriptions (*.json);;All files (*)</translation>
    </message>
    <message>
        <source>Das Projekt hat noch keinen Dateinamen.</source>
        <translation>The project has no file name yet.</translation>
    </message>
    <message>
        <source>Projekt speichern unter</source>
        <translation>Save Project As</translation>
    </message>
    <message>
        <source>Projektdateien (*.%1)</source>
        <translation>Project files (*.%1)</translation>
    </message>
    <message>
        <source>Regler %1</source>
        <translation>Controller %1</translation>
    </message>
    <message>
        <source>Regler hinzufügen</source>
        <translation>Add Controller</translation>
    </message>
    <message>
        <source>Regler „%1“ hinzugefügt.</source>
        <translation>Controller “%1” added.</translation>
    </message>
    <message>
        <source>Regler entfernen</source>
        <translation>Remove Controller</translation>
    </message>
    <message>
        <source>Den Regler „%1“ mit allen Achsen und Parameterwerten aus dem Projekt entfernen?</source>
        <translation>Remove the controller “%1” with all its axes and parameter values from the project?</translation>
    </message>
    <message>
        <source>Regler „%1“ entfernt.</source>
        <translation>Controller “%1” removed.</translation>
    </message>
    <message>
        <source>Achse hinzufügen</source>
        <translation>Add Axis</translation>
    </message>
    <message>
        <source>Der Regler „%1“ hat bereits alle Achsen seines Gerätetyps.</source>
        <translation>The controller “%1” already has all axes of its device type.</translation>
    </message>
    <message>
        <source>Name der Achse %1 von „%2“:</source>
        <translation>Name of axis %1 of “%2”:</translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation>Axis %1</translation>
    </message>
    <message>
        <source>Achse %1 „%2“ zu „%3“ hinzugefügt.</source>
        <translation>Axis %1 “%2” added to “%3”.</translation>
    </message>
    <message>
        <source>Achse entfernen</source>
        <translation>Remove Axis</translation>
    </message>
    <message>
        <source>Die Achse %1 „%2“ von „%3“ mit ihren Parameterwerten entfernen?</source>
        <translation>Remove axis %1 “%2” of “%3” with its parameter values?</translation>
    </message>
    <message>
        <source>Achse %1 „%2“ entfernt.</source>
        <translation>Axis %1 “%2” removed.</translation>
    </message>
    <message>
        <source>Regler „%1“ ist online.</source>
        <translation>Controller “%1” is online.</translation>
    </message>
    <message>
        <source>Regler „%1“ ist offline.</source>
        <translation>Controller “%1” is offline.</translation>
    </message>
    <message>
        <source>Zugriffsebene %1.</source>
        <translation>Access level %1.</translation>
    </message>
    <message>
        <source>&amp;Zuletzt geöffnet</source>
        <translation>Open &amp;Recent</translation>
    </message>
    <message>
        <source>%1 (Datei: %2)</source>
        <translation>%1 (file: %2)</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message numerus="yes">
        <source>%n Regler</source>
        <translation>
            <numerusform>%n controller</numerusform>
            <numerusform>%n controllers</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n variable Parameterliste(n)</source>
        <translation>
            <numerusform>%n variable parameter list</numerusform>
            <numerusform>%n variable parameter lists</numerusform>
        </translation>
    </message>
    <message>
        <source>Gerätebeschreibung „%1“ als neues, ungespeichertes Projekt geladen: %2.</source>
        <translation>Device description “%1” loaded as a new, unsaved project: %2.</translation>
    </message>
    <message>
        <source>Projekt „%1“ geladen: %2.</source>
        <translation>Project “%1” loaded: %2.</translation>
    </message>
    <message>
        <source>„%1“ gibt es nicht mehr; der Eintrag wurde aus „Zuletzt geöffnet“ entfernt.</source>
        <translation>“%1” no longer exists; the entry has been removed from “Open Recent”.</translation>
    </message>
    <message>
        <source>Projektdatei zum Vergleichen öffnen</source>
        <translation>Open Project File for Comparison</translation>
    </message>
    <message>
        <source>Vergleich mit anderer Projektdatei</source>
        <translation>Comparison with Another Project File</translation>
    </message>
    <message numerus="yes">
        <source>„%1“ zum Vergleichen geladen: %n Regler, nur lesbar.</source>
        <translation>
            <numerusform>“%1” loaded for comparison: %n controller, read-only.</numerusform>
            <numerusform>“%1” loaded for comparison: %n controllers, read-only.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>„%1“ zum Vergleichen geladen, %n Angabe(n) weggelassen.</source>
        <translation>
            <numerusform>“%1” loaded for comparison, %n item left out.</numerusform>
            <numerusform>“%1” loaded for comparison, %n items left out.</numerusform>
        </translation>
    </message>
    <message>
        <source>Sprache: %1.</source>
        <translation>Language: %1.</translation>
    </message>
    <message>
        <source>%1: die Achsen sind gleich.</source>
        <translation>%1: the axes are identical.</translation>
    </message>
    <message>
        <source>%1: die Achsen unterscheiden sich, %2.</source>
        <translation>%1: the axes differ, %2.</translation>
    </message>
    <message>
        <source>&amp;Achsen vergleichen ...</source>
        <translation>&amp;Compare Axes ...</translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>Die Projektdatei „%1“ kann nicht geöffnet werden: %2</source>
        <translation>The project file “%1” cannot be opened: %2</translation>
    </message>
    <message>
        <source>Den Gerätetyp „%1“ gibt es nicht.</source>
        <translation>The device type “%1” does not exist.</translation>
    </message>
    <message>
        <source>Der Regler braucht einen Namen.</source>
        <translation>The controller needs a name.</translation>
    </message>
    <message>
        <source>Ein „%1“ hat höchstens %2 Achsen.</source>
        <translation>A “%1” has at most %2 axes.</translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation>Axis %1</translation>
    </message>
    <message>
        <source>Der Regler „%1“ hat bereits alle %2 Achsen seines Gerätetyps.</source>
        <translation>The controller “%1” already has all %2 axes of its device type.</translation>
    </message>
    <message>
        <source>„%1“ enthält keinen Regler mit einer Achse.</source>
        <translation>“%1” contains no controller with an axis.</translation>
    </message>
</context>
<context>
    <name>ProjectCodec</name>
    <message>
        <source>Regler %1</source>
        <translation>Controller %1</translation>
    </message>
    <message>
        <source>Regler „%1“</source>
        <translation>Controller “%1”</translation>
    </message>
    <message>
        <source>%1: unbekannter Gerätetyp „%2“, der Regler wurde mit allen Achsen und Werten weggelassen.</source>
        <translation>%1: unknown device type “%2”; the controller was left out with all its axes and values.</translation>
    </message>
    <message>
        <source>%1: Achse %2 („%3“) passt nicht zum Gerätetyp und wurde weggelassen.</source>
        <translation>%1: axis %2 (“%3”) does not match the device type and was left out.</translation>
    </message>
    <message>
        <source>%1, Achse %2: ungültige Markierungsfarbe „%3“ wurde weggelassen.</source>
        <translation>%1, axis %2: invalid marker color “%3” was left out.</translation>
    </message>
    <message>
        <source>geräteweit</source>
        <translation>device-wide</translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation>axis %1</translation>
    </message>
    <message>
        <source>den Parameter gibt es in diesem Gerätetyp nicht</source>
        <translation>the parameter does not exist in this device type</translation>
    </message>
    <message>
        <source>das Element gibt es nicht</source>
        <translation>the element does not exist</translation>
    </message>
    <message>
        <source>der Parameter ist dort nicht definiert</source>
        <translation>the parameter is not defined there</translation>
    </message>
    <message>
        <source>der Wert wurde abgelehnt</source>
        <translation>the value was rejected</translation>
    </message>
    <message>
        <source>%1, %2, %3 = „%4“: %5</source>
        <translation>%1, %2, %3 = “%4”: %5</translation>
    </message>
    <message>
        <source>Die Reglerliste ist beschädigt (%1).</source>
        <translation>The controller list is corrupt (%1).</translation>
    </message>
    <message>
        <source>kein JSON-Objekt</source>
        <translation>not a JSON object</translation>
    </message>
    <message>
        <source>Die Reglerliste hat ein unbekanntes Format.</source>
        <translation>The controller list has an unknown format.</translation>
    </message>
    <message>
        <source>Die Reglerliste hat die Version %1, dieses Programm versteht nur bis Version %2.</source>
        <translation>The controller list has version %1; this program only understands up to version %2.</translation>
    </message>
</context>
<context>
    <name>ProjectTreeWidget</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>online</source>
        <translation>online</translation>
    </message>
    <message>
        <source>verbindet ...</source>
        <translation>connecting ...</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>offline</translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation>%1
%2</translation>
    </message>
    <message>
        <source>Achse %1: %2</source>
        <translation>Axis %1: %2</translation>
    </message>
    <message>
        <source>Die Achse meldet eine Störung.</source>
        <translation>The axis reports a fault.</translation>
    </message>
</context>
<context>
    <name>RecentProjects</name>
    <message>
        <source>&amp;%1 %2</source>
        <translation>&amp;%1 %2</translation>
    </message>
    <message>
        <source>%1
im Verzeichnis %2</source>
        <translation>%1
in folder %2</translation>
    </message>
    <message>
        <source>(keine)</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>Liste &amp;leeren</source>
        <translation>&amp;Clear List</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Projektdatei (*.kxproj) oder Gerätebeschreibung (*.json)</source>
        <translation>Project file (*.kxproj) or device description (*.json)</translation>
    </message>
    <message>
        <source>Projekte mit Antriebsreglern bearbeiten.

Einstellungen (zuletzt geöffnete Projekte, Verzeichnisse der Dateidialoge) liegen unter $XDG_CONFIG_HOME/KxSuite, ohne XDG_CONFIG_HOME unter ~/.config/KxSuite.</source>
        <translation>Edit projects with drive controllers.

Settings (recently opened projects, folders of the file dialogs) are kept in $XDG_CONFIG_HOME/KxSuite, or in ~/.config/KxSuite when XDG_CONFIG_HOME is not set.</translation>
    </message>
</context>
</TS>
