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
    <name>ChangeJournal</name>
    <message>
        <source>geschrieben</source>
        <translation>written</translation>
    </message>
    <message>
        <source>abgelehnt</source>
        <translation>refused</translation>
    </message>
    <message>
        <source>nicht beim Gerät angekommen</source>
        <translation>did not reach the device</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Antriebsregler</source>
        <translation>Drive controller</translation>
    </message>
    <message>
        <source>Achse</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Alter Wert</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>Neuer Wert</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Grund</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
</context>
<context>
    <name>ChangeJournalWindow</name>
    <message>
        <source>Änderungsprotokoll</source>
        <translation>Change Journal</translation>
    </message>
    <message>
        <source>Suchen (Parameter, Adresse, Wert, Quelle)</source>
        <translation>Search (parameter, address, value, source)</translation>
    </message>
    <message>
        <source>Als CSV exportieren ...</source>
        <translation>Export as CSV ...</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Antriebsregler</source>
        <translation>Drive controller</translation>
    </message>
    <message>
        <source>Achse</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Alter Wert</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>Neuer Wert</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Alle Antriebsregler</source>
        <translation>All drive controllers</translation>
    </message>
    <message>
        <source>Alle Achsen</source>
        <translation>All axes</translation>
    </message>
    <message>
        <source>%1 von %2 Einträgen</source>
        <translation>%1 of %2 entries</translation>
    </message>
    <message>
        <source>Das Änderungsprotokoll konnte nicht nach „%1“ geschrieben werden: %2</source>
        <translation>The change journal could not be written to “%1”: %2</translation>
    </message>
    <message>
        <source>Änderungsprotokoll exportieren</source>
        <translation>Export Change Journal</translation>
    </message>
    <message>
        <source>Aenderungsprotokoll.csv</source>
        <translation>ChangeJournal.csv</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
</context>
<context>
    <name>ChangeRecorder</name>
    <message>
        <source>%1 auf 1 Achse</source>
        <translation>%1 on 1 axis</translation>
    </message>
    <message>
        <source>%1 auf %2 Achsen</source>
        <translation>%1 on %2 axes</translation>
    </message>
    <message numerus="yes">
        <source>%n Werte</source>
        <translation>
            <numerusform>%n value</numerusform>
            <numerusform>%n values</numerusform>
        </translation>
    </message>
    <message>
        <source>Seither geändert und daher nicht angetastet: %1</source>
        <translation>Changed since and therefore left alone: %1</translation>
    </message>
    <message>
        <source>Download beim Verbinden</source>
        <translation>Download on connecting</translation>
    </message>
    <message>
        <source>Achsvergleich</source>
        <translation>Axis comparison</translation>
    </message>
    <message>
        <source>Parameteransicht</source>
        <translation>Parameter view</translation>
    </message>
    <message>
        <source>Liste „%1“</source>
        <translation>List “%1”</translation>
    </message>
    <message>
        <source>Programm</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>Rückgängig</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Wiederholen</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>CommissioningRecord</name>
    <message>
        <source>Inbetriebnahmeprotokoll</source>
        <translation>Commissioning Record</translation>
    </message>
    <message>
        <source>Projekt</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>(nicht gespeichert)</source>
        <translation>(not saved)</translation>
    </message>
    <message>
        <source>Erstellt</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>Bearbeiter</source>
        <translation>Engineer</translation>
    </message>
    <message>
        <source>Zeitraum</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>Beginn</source>
        <translation>start</translation>
    </message>
    <message>
        <source>jetzt</source>
        <translation>now</translation>
    </message>
    <message>
        <source>Antriebsregler und Achsen</source>
        <translation>Drive controllers and axes</translation>
    </message>
    <message>
        <source>Antriebsregler</source>
        <translation>Drive controller</translation>
    </message>
    <message>
        <source>Gerät</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>Achse</source>
        <translation>Axis</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>State</translation>
    </message>
    <message>
        <source>online</source>
        <translation>online</translation>
    </message>
    <message>
        <source>offline</source>
        <translation>offline</translation>
    </message>
    <message>
        <source>Störung</source>
        <translation>fault</translation>
    </message>
    <message>
        <source>Änderungen (%1)</source>
        <translation>Changes (%1)</translation>
    </message>
    <message>
        <source>Im Zeitraum wurde kein Wert geschrieben.</source>
        <translation>No value was written in the period.</translation>
    </message>
    <message>
        <source>Zeit</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Adresse</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Parameter</source>
        <translation>Parameter</translation>
    </message>
    <message>
        <source>Alter Wert</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>Neuer Wert</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>Quelle</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>Ergebnis</source>
        <translation>Outcome</translation>
    </message>
    <message>
        <source>Achsvergleiche</source>
        <translation>Axis comparisons</translation>
    </message>
    <message>
        <source>A: %1, %2 – B: %3, %4</source>
        <translation>A: %1, %2 – B: %3, %4</translation>
    </message>
    <message>
        <source>Achse A</source>
        <translation>Axis A</translation>
    </message>
    <message>
        <source>Achse B</source>
        <translation>Axis B</translation>
    </message>
    <message>
        <source>Seite %1 von %2</source>
        <translation>Page %1 of %2</translation>
    </message>
</context>
<context>
    <name>CommissioningRecordDialog</name>
    <message>
        <source>Inbetriebnahmeprotokoll exportieren</source>
        <translation>Export Commissioning Record</translation>
    </message>
    <message>
        <source>Änderungen &amp;von:</source>
        <translation>Changes &amp;from:</translation>
    </message>
    <message>
        <source>&amp;bis:</source>
        <translation>&amp;to:</translation>
    </message>
    <message>
        <source>Unterschiede dieser Achspaare aufnehmen:</source>
        <translation>Include the differences of these axis pairs:</translation>
    </message>
    <message>
        <source>%1, %2  ↔  %3, %4</source>
        <translation>%1, %2  ↔  %3, %4</translation>
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
    <name>ConnectionDialog</name>
    <message>
        <source>Verbindung</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>Über &amp;Modbus TCP verbinden (sonst simuliert)</source>
        <translation>Connect over &amp;Modbus TCP (simulated otherwise)</translation>
    </message>
    <message>
        <source>&amp;Adresse:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>&amp;Unit-ID:</source>
        <translation>&amp;Unit id:</translation>
    </message>
    <message>
        <source>Verbindung des Reglers „%1“:</source>
        <translation>Connection of the controller “%1”:</translation>
    </message>
</context>
<context>
    <name>ControllerConnections</name>
    <message>
        <source>„%1“: %2 = %3 abgelehnt: %4</source>
        <translation>“%1”: %2 = %3 refused: %4</translation>
    </message>
    <message numerus="yes">
        <source>„%1“: %n Schreibaufträge nicht bestätigt, die Werte blieben unverändert: %2</source>
        <translation>
            <numerusform>“%1”: %n write not acknowledged, the value stayed unchanged: %2</numerusform>
            <numerusform>“%1”: %n writes not acknowledged, the values stayed unchanged: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>„%1“ ist offline: %2</source>
        <translation>“%1” is offline: %2</translation>
    </message>
    <message>
        <source>&amp;Verbindung ...</source>
        <translation>&amp;Connection ...</translation>
    </message>
    <message>
        <source>Wie der gewählte Regler erreicht wird (Modbus TCP oder simuliert)</source>
        <translation>How the selected controller is reached (Modbus TCP or simulated)</translation>
    </message>
    <message>
        <source>&amp;Simulator starten</source>
        <translation>Start &amp;simulator</translation>
    </message>
    <message>
        <source>Startet kx-drive-sim für das Projekt und verbindet alle Regler damit</source>
        <translation>Starts kx-drive-sim for the project and connects every controller to it</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>„%1“ wird über %2 erreicht.</source>
        <translation>“%1” is reached over %2.</translation>
    </message>
    <message>
        <source>„%1“ wird simuliert.</source>
        <translation>“%1” is simulated.</translation>
    </message>
    <message>
        <source>Kein Regler des Projekts kann simuliert werden.</source>
        <translation>No controller of the project can be simulated.</translation>
    </message>
    <message>
        <source>Die Beschreibung für den Simulator kann nicht geschrieben werden: %1</source>
        <translation>The description for the simulator cannot be written: %1</translation>
    </message>
    <message>
        <source>Der Simulator hat sich beendet (%1).</source>
        <translation>The simulator has ended (%1).</translation>
    </message>
    <message>
        <source>Der Simulator hat sich beendet: %1</source>
        <translation>The simulator has ended: %1</translation>
    </message>
    <message>
        <source>Der Simulator „%1“ kann nicht gestartet werden.</source>
        <translation>The simulator “%1” cannot be started.</translation>
    </message>
    <message numerus="yes">
        <source>Simulator gestartet für %n Regler.</source>
        <translation>
            <numerusform>Simulator started for %n controller.</numerusform>
            <numerusform>Simulator started for %n controllers.</numerusform>
        </translation>
    </message>
    <message>
        <source>Simulator gestartet; ohne Typdatei nicht simuliert: %1</source>
        <translation>Simulator started; not simulated for want of a type file: %1</translation>
    </message>
    <message>
        <source>simuliert</source>
        <translation>simulated</translation>
    </message>
    <message>
        <source>%1: %2 (%3)</source>
        <translation>%1: %2 (%3)</translation>
    </message>
    <message>
        <source> – Störung: %1</source>
        <translation> – fault: %1</translation>
    </message>
</context>
<context>
    <name>ListEditRecorder</name>
    <message>
        <source>„%1“ geleert</source>
        <translation>“%1” cleared</translation>
    </message>
    <message>
        <source>Import in „%1“</source>
        <translation>Import into “%1”</translation>
    </message>
    <message>
        <source>%1 aus „%2“ entfernt</source>
        <translation>%1 removed from “%2”</translation>
    </message>
    <message>
        <source>Element von %1 aus „%2“ entfernt</source>
        <translation>Element of %1 removed from “%2”</translation>
    </message>
    <message numerus="yes">
        <source>%n Einträge aus „%1“ entfernt</source>
        <translation>
            <numerusform>%n entry removed from “%1”</numerusform>
            <numerusform>%n entries removed from “%1”</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 zu „%2“ hinzugefügt</source>
        <translation>%1 added to “%2”</translation>
    </message>
    <message>
        <source>Element von %1 zu „%2“ hinzugefügt</source>
        <translation>Element of %1 added to “%2”</translation>
    </message>
    <message numerus="yes">
        <source>%n Einträge zu „%1“ hinzugefügt</source>
        <translation>
            <numerusform>%n entry added to “%1”</numerusform>
            <numerusform>%n entries added to “%1”</numerusform>
        </translation>
    </message>
    <message>
        <source>„%1“ geändert</source>
        <translation>“%1” changed</translation>
    </message>
    <message numerus="yes">
        <source>%n Listen geändert</source>
        <translation>
            <numerusform>%n list changed</numerusform>
            <numerusform>%n lists changed</numerusform>
        </translation>
    </message>
    <message>
        <source>Liste „%1“ angelegt</source>
        <translation>List “%1” created</translation>
    </message>
    <message>
        <source>Liste „%1“ importiert</source>
        <translation>List “%1” imported</translation>
    </message>
    <message>
        <source>Liste „%1“ gelöscht</source>
        <translation>List “%1” deleted</translation>
    </message>
    <message>
        <source>„%1“ umbenannt in „%2“</source>
        <translation>“%1” renamed to “%2”</translation>
    </message>
    <message>
        <source>Achsen von „%1“ geändert</source>
        <translation>Axes of “%1” changed</translation>
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
    <message>
        <source>Änderungs&amp;protokoll</source>
        <translation>Change &amp;Journal</translation>
    </message>
    <message>
        <source>&amp;Inbetriebnahmeprotokoll exportieren ...</source>
        <translation>Export &amp;Commissioning Record ...</translation>
    </message>
    <message>
        <source>Änderungsprotokoll nach %1 exportiert.</source>
        <translation>Change journal exported to %1.</translation>
    </message>
    <message>
        <source>%1 ist nicht mehr im Projekt.</source>
        <translation>%1 is no longer in the project.</translation>
    </message>
    <message>
        <source>Inbetriebnahmeprotokoll %1.pdf</source>
        <translation>Commissioning record %1.pdf</translation>
    </message>
    <message>
        <source>Inbetriebnahmeprotokoll exportieren</source>
        <translation>Export Commissioning Record</translation>
    </message>
    <message>
        <source>PDF-Dateien (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>Inbetriebnahmeprotokoll</source>
        <translation>Commissioning Record</translation>
    </message>
    <message>
        <source>Das Inbetriebnahmeprotokoll konnte nicht nach „%1“ geschrieben werden: %2</source>
        <translation>The commissioning record could not be written to “%1”: %2</translation>
    </message>
    <message>
        <source>Inbetriebnahmeprotokoll nach %1 exportiert.</source>
        <translation>Commissioning record exported to %1.</translation>
    </message>
    <message>
        <source>&amp;Bearbeiten</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Rückgängig</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Rückgängig: %1</source>
        <translation>&amp;Undo: %1</translation>
    </message>
    <message>
        <source>&amp;Wiederholen</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Regler „%1“ verbindet über %2 ...</source>
        <translation>Controller “%1” is connecting over %2 ...</translation>
    </message>
    <message>
        <source>&amp;Wiederholen: %1</source>
        <translation>&amp;Redo: %1</translation>
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
    <message>
        <source>%1: die Verbindung ist unbrauchbar und wurde weggelassen.</source>
        <translation>%1: the connection is unusable and was left out.</translation>
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
    <message>
        <source>%1 über %2</source>
        <translation>%1 over %2</translation>
    </message>
    <message>
        <source>%1
Störung: %2</source>
        <translation>%1
Fault: %2</translation>
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
    <message>
        <source>Startet den Antriebssimulator für das Projekt und verbindet alle Regler damit.</source>
        <translation>Starts the drive simulator for the project and connects every controller to it.</translation>
    </message>
</context>
</TS>
