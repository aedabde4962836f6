<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="de_DE">
<context>
    <name>AddControllerDialog</name>
    <message>
        <source>Regler hinzufügen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 – %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gerätetyp:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Anzahl Achsen:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> von %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AxisComparisons</name>
    <message>
        <source>%1, %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsvergleich – A: %1 – B: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CompareAxesDialog</name>
    <message>
        <source>&amp;Antriebsregler:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;chse:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsen vergleichen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seite A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seite B</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Vergleichen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Projekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sprache</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Werkzeugleiste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Neu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ö&amp;ffnen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speichern &amp;unter ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler &amp;hinzufügen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler &amp;entfernen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Achse hinzufügen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse en&amp;tfernen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Den gewählten Regler online oder offline schalten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Variable Parameterlisten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Variable Parameterlisten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsen &amp;vergleichen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsen vergleichen ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> &amp;Zugriffsebene: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ebene %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unbenannt (aus %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unbenannt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1[*] – KX Suite</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>... und %n weitere (siehe Details)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Projekt geändert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das Projekt „%1“ wurde geändert. Sollen die Änderungen gespeichert werden?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bericht gespeichert unter „%1“.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achsvergleich</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Bericht wurde unter „%1“ gespeichert.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Im &amp;Browser öffnen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Für „%1“ ist kein Browser eingerichtet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n Gerätebeschreibung(en) abgelehnt: %1</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n Gerätetyp(en) verfügbar.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Öffnen fehlgeschlagen</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n variable Parameterliste(n) in „%1“ kann/können nicht gelesen werden; sie bleiben beim Speichern unverändert erhalten.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Gerätebeschreibung „%1“ als neues, ungespeichertes Projekt geladen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt „%1“ geladen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt unvollständig geladen</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Aus „%1“ wurde nicht alles übernommen; %n Angabe(n) wurden weggelassen:</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Speichern fehlgeschlagen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt gespeichert unter „%1“.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neues, leeres Projekt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt öffnen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projektdateien (*.%1);;Gerätebeschreibungen (*.json);;Alle Dateien (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Das Projekt hat noch keinen Dateinamen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projekt speichern unter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projektdateien (*.%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler hinzufügen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler „%1“ hinzugefügt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler entfernen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Den Regler „%1“ mit allen Achsen und Parameterwerten aus dem Projekt entfernen?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler „%1“ entfernt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse hinzufügen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Regler „%1“ hat bereits alle Achsen seines Gerätetyps.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name der Achse %1 von „%2“:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1 „%2“ zu „%3“ hinzugefügt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse entfernen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Achse %1 „%2“ von „%3“ mit ihren Parameterwerten entfernen?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1 „%2“ entfernt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler „%1“ ist online.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler „%1“ ist offline.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die verglichenen Achsen sind gleich.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die verglichenen Achsen unterscheiden sich.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zugriffsebene %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Project</name>
    <message>
        <source>Die Projektdatei „%1“ kann nicht geöffnet werden: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Den Gerätetyp „%1“ gibt es nicht.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Regler braucht einen Namen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ein „%1“ hat höchstens %2 Achsen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Der Regler „%1“ hat bereits alle %2 Achsen seines Gerätetyps.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectCodec</name>
    <message>
        <source>Regler %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regler „%1“</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: unbekannter Gerätetyp „%2“, der Regler wurde mit allen Achsen und Werten weggelassen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: Achse %2 („%3“) passt nicht zum Gerätetyp und wurde weggelassen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, Achse %2: ungültige Markierungsfarbe „%3“ wurde weggelassen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>geräteweit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>den Parameter gibt es in diesem Gerätetyp nicht</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>das Element gibt es nicht</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>der Parameter ist dort nicht definiert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>der Wert wurde abgelehnt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, %2, %3 = „%4“: %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Reglerliste ist beschädigt (%1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kein JSON-Objekt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Reglerliste hat ein unbekanntes Format.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Reglerliste hat die Version %1, dieses Programm versteht nur bis Version %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProjectTreeWidget</name>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>online</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>verbindet ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>offline</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Achse %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Die Achse meldet eine Störung.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Projekte mit Antriebsreglern bearbeiten</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projektdatei (*.kxproj) oder Gerätebeschreibung (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
