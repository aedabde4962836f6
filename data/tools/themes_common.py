"""Selection lists and the coordinates that both controller types share.

Shared coordinates keep their meaning, structure and kind in both types so
that axes of different types can be compared; limits and defaults may differ
where the hardware differs.
"""

from catalogue import array, described, el, header, record, simple

CH_OFF_ON_NONE = [(0, "Keine Aktion", "No action"), (1, "Ausführen", "Execute")]

CH_CONTROL_MODE = [
    (0, "U/f-Steuerung", "V/f control"),
    (1, "Vektorregelung ohne Geber", "Sensorless vector control"),
    (2, "Vektorregelung mit Geber", "Vector control with encoder"),
    (3, "Servoregelung", "Servo control"),
]

CH_TEMP_SENSOR = [
    (0, "Kein Fühler", "No sensor"),
    (1, "KTY-Fühler", "KTY sensor"),
    (2, "PT1000", "PT1000"),
    (3, "Kaltleiter (PTC)", "PTC thermistor"),
    (4, "Thermoschalter (Öffner)", "Thermal switch (NC)"),
]

CH_BAUD = [
    (125, "125 kBit/s", "125 kbit/s"),
    (250, "250 kBit/s", "250 kbit/s"),
    (500, "500 kBit/s", "500 kbit/s"),
    (1000, "1 MBit/s", "1 Mbit/s"),
]

CH_LANGUAGE = [
    (0, "Deutsch", "German"),
    (1, "Englisch", "English"),
    (2, "Französisch", "French"),
    (3, "Italienisch", "Italian"),
    (4, "Spanisch", "Spanish"),
]

CH_FACTORY = [
    (0, "Keine Aktion", "No action"),
    (1, "Alle Parameter", "All parameters"),
    (2, "Nur Antriebsparameter", "Drive parameters only"),
    (3, "Nur Kommunikation", "Communication only"),
]

CH_PARSET = [(n, "Parametersatz %d" % n, "Parameter set %d" % n) for n in range(1, 5)]

CH_REACTION = [
    (0, "Keine Reaktion", "No reaction"),
    (1, "Nur Warnung", "Warning only"),
    (2, "Austrudeln", "Coast to stop"),
    (3, "Schnellhalt", "Quick stop"),
    (4, "Rampe, dann sperren", "Ramp down, then disable"),
]

CH_CTRL_SOURCE = [
    (0, "Klemmen", "Terminals"),
    (1, "Feldbus", "Fieldbus"),
    (2, "Bedienfeld", "Keypad"),
    (3, "Inbetriebnahme-PC", "Commissioning PC"),
]

CH_ANALOG_MODE = [
    (0, "±10 V", "±10 V"),
    (1, "0 … 10 V", "0 … 10 V"),
    (2, "0 … 20 mA", "0 … 20 mA"),
    (3, "4 … 20 mA", "4 … 20 mA"),
]

CH_PWM = [(4, "4 kHz", "4 kHz"), (8, "8 kHz", "8 kHz"), (12, "12 kHz", "12 kHz"), (16, "16 kHz", "16 kHz")]

CH_MAINS = [(230, "230 V einphasig", "230 V single-phase"), (400, "400 V dreiphasig", "400 V three-phase"),
            (480, "480 V dreiphasig", "480 V three-phase")]

CH_FAULT_CODE_TEXT = [
    (0, "Keine Störung", "No fault"),
    (11, "Überstrom", "Overcurrent"),
    (12, "Erdschluss", "Earth fault"),
    (21, "Überspannung Zwischenkreis", "DC link overvoltage"),
    (22, "Unterspannung Zwischenkreis", "DC link undervoltage"),
    (31, "Übertemperatur Gerät", "Device overtemperature"),
    (32, "Übertemperatur Motor", "Motor overtemperature"),
    (41, "Geberfehler", "Encoder fault"),
    (51, "Kommunikationsausfall", "Communication loss"),
    (61, "Schleppfehler", "Following error"),
    (71, "Externe Störung", "External fault"),
]

INPUT_NAMES = [("Eingang DI%d" % n, "Input DI%d" % n) for n in range(1, 9)]
OUTPUT_NAMES = [("Ausgang DO%d" % n, "Output DO%d" % n) for n in range(1, 5)]


def analog_input_record(coord, n, help_id):
    return record(coord, "Analogeingang AI%d" % n, "Analog input AI%d" % n, [
        header("Analogeingang AI%d" % n, "Analog input AI%d" % n),
        el("Betriebsart", "Mode", choices=CH_ANALOG_MODE),
        el("Offset", "Offset", unit="V", lo=-1, hi=1, dec=3),
        el("Verstärkung", "Gain", unit="%", lo=-400, hi=400, dec=1, dflt=100),
        el("Filterzeit", "Filter time", unit="ms", lo=0, hi=500, dec=1, dflt=2),
        el("Totzone", "Dead band", unit="V", lo=0, hi=1, dec=2),
        el("Drahtbrucherkennung", "Wire break detection", switch=True,
           help=described("<p>Nur in der Betriebsart 4 … 20 mA wirksam: Ströme unter 3,5 mA "
                          "lösen die Drahtbruchmeldung aus.</p>")),
        el("Istwert", "Actual value", unit="%", lo=-100, hi=100, dec=1, ro=True),
    ], dev=True, help=help_id, lvl=1)


def shared_rows(kind):
    """Rows both types have; `kind` is "servo" or "inverter"."""
    servo = kind == "servo"
    return [
        # A: identification
        simple("A01", "Gerätename", "Device name", dev=True, text=32, help="dev-identification"),
        simple("A02", "Firmwareversion", "Firmware version", dev=True, text=16, ro=True,
               dflt="3.2.14" if servo else "1.8.5", help="dev-identification"),
        simple("A03", "Seriennummer", "Serial number", dev=True, text=16, ro=True,
               dflt="KX4-22-081533" if servo else "KF2-23-004417"),
        simple("A04", "Hardwarestand", "Hardware revision", dev=True, text=8, ro=True,
               dflt="C" if servo else "B2"),
        simple("A05", "Gerätekennung", "Device code", dev=True, lo=0, hi=65535, ro=True,
               dflt=0x4B34 if servo else 0x4B46),
        simple("A06", "Betriebsstunden", "Operating hours", dev=True, unit="h", lo=0, hi=999999, dec=1,
               ro=True, dflt=1207.5 if servo else 18342.0),
        simple("A07", "Einschaltzyklen", "Power-on cycles", dev=True, lo=0, hi=9999999, ro=True,
               dflt=412 if servo else 2210),
        simple("A08", "Anlagenkennzeichen", "Plant identifier", dev=True, text=40, lvl=1,
               help=described("<p>Freier Text für das Betriebsmittelkennzeichen, z.&nbsp;B. "
                              "<code>=PZ3+S1-T2</code>. Er wird im Gerät gespeichert und beim "
                              "Auslesen angezeigt.</p>")),
        simple("A10", "Achsname", "Axis name", text=24, help="dev-identification"),

        # C: the two controller settings every drive has
        simple("C01", "Regelverfahren", "Control method", choices=CH_CONTROL_MODE,
               dflt=3 if servo else 0, ref=3 if servo else 1, lvl=1, help="ctl-method"),
        simple("C10", "Drehzahlregler Verstärkung", "Speed controller gain",
               unit="%", lo=0, hi=2000, dec=1, dflt=100 if servo else 30, lvl=1, help="ctl-speed-loop"),
        simple("C11", "Drehzahlregler Nachstellzeit", "Speed controller integral time",
               unit="ms", lo=0.1, hi=2000, dec=1, dflt=12 if servo else 150, lvl=1, help="ctl-speed-loop"),

        # D: motor nameplate data
        simple("D01", "Motornennstrom", "Motor rated current", unit="A", lo=0.1, hi=64 if servo else 120, dec=2,
               dflt=4.8 if servo else 15.6, help="mot-nameplate"),
        simple("D02", "Motornenndrehzahl", "Motor rated speed", unit="1/min", lo=100, hi=12000,
               dflt=3000 if servo else 1460, help="mot-nameplate"),
        simple("D03", "Motornennspannung", "Motor rated voltage", unit="V", lo=24, hi=690,
               dflt=400, help="mot-nameplate"),
        simple("D04", "Motornennleistung", "Motor rated power", unit="kW", lo=0.05, hi=160, dec=2,
               dflt=1.5 if servo else 7.5, help="mot-nameplate"),
        simple("D05", "Polpaarzahl", "Number of pole pairs", lo=1, hi=32, dflt=4 if servo else 2,
               help="mot-nameplate", lvl=1),
        simple("D06", "Motortemperaturfühler", "Motor temperature sensor", choices=CH_TEMP_SENSOR,
               dflt=1 if servo else 3, lvl=1),
        record("D10", "Typenschild Motor", "Motor nameplate", [
            header("Typenschild", "Nameplate"),
            el("Hersteller", "Manufacturer", text=24),
            el("Typbezeichnung", "Type designation", text=32),
            el("Seriennummer", "Serial number", text=24),
            el("Nennfrequenz", "Rated frequency", unit="Hz", lo=0, hi=1000, dec=1, dflt=200 if servo else 50),
            el("Leistungsfaktor", "Power factor", lo=0.3, hi=1, dec=2, dflt=0.95 if servo else 0.82),
            el("Schutzart", "Protection class", choices=[(54, "IP54", "IP54"), (55, "IP55", "IP55"),
                                                           (65, "IP65", "IP65"), (67, "IP67", "IP67")],
               dflt=65 if servo else 55),
            el("Baujahr", "Year of manufacture", lo=1990, hi=2099, dflt=2021),
        ], help="mot-nameplate"),

        # F: state and measured values
        simple("F01", "Aktuelle Störung", "Active fault", choices=CH_FAULT_CODE_TEXT, ro=True,
               help="flt-overview"),
        array("F02", "Störungsspeicher", "Fault memory", 8, names=("Eintrag {n}", "Entry {n}"),
              choices=CH_FAULT_CODE_TEXT, ro=True, dev=True, help="flt-overview",
              dflts=[41, 22, 0, 0, 0, 0, 0, 0] if servo else [71, 71, 31, 22, 0, 0, 0, 0]),
        simple("F10", "Zwischenkreisspannung", "DC link voltage", dev=True, unit="V", lo=0, hi=1000, dec=1,
               ro=True, dflt=565.0 if servo else 558.3),
        simple("F11", "Kühlkörpertemperatur", "Heat sink temperature", dev=True, unit="°C", lo=-40, hi=150,
               dec=1, ro=True, dflt=38.5 if servo else 46.0),
        simple("F12", "Motortemperatur", "Motor temperature", unit="°C", lo=-40, hi=250, dec=1, ro=True,
               dflt=41.0 if servo else 55.0),
        simple("F13", "Geräteauslastung", "Device utilisation", dev=True, unit="%", lo=0, hi=300, dec=1,
               ro=True, dflt=12.5 if servo else 64.0),

        # I: terminal states
        array("I01", "Zustand Digitaleingänge", "Digital input states", 8, names=INPUT_NAMES,
              switch=True, ro=True, dev=True, help="io-digital",
              dflts=[1, 1, 0, 0, 1, 0, 0, 0] if servo else [1, 0, 0, 0, 0, 0, 1, 0]),
        array("I02", "Zustand Digitalausgänge", "Digital output states", 4, names=OUTPUT_NAMES,
              switch=True, ro=True, dev=True, help="io-digital"),
        analog_input_record("I30", 1, "io-analog"),

        # N: fieldbus basics
        simple("N01", "Knotenadresse", "Node address", dev=True, lo=1, hi=127, dflt=1, help="net-basics"),
        simple("N02", "Übertragungsrate", "Baud rate", dev=True, choices=CH_BAUD, dflt=500 if servo else 250,
               ref=500 if servo else 250, help="net-basics"),
        simple("N03", "Überwachungszeit Kommunikation", "Communication watchdog time", dev=True, unit="ms",
               lo=0, hi=10000, dflt=100 if servo else 500, lvl=1, help="net-basics"),
        record("N10", "Prozessdaten Empfang", "Receive process data", [
            header("Empfangsabbild", "Receive mapping"),
            el("Anzahl Einträge", "Number of entries", lo=0, hi=6, dflt=2),
            el("Eintrag 1", "Entry 1", lo=0, hi=26000, dflt=13021, help="net-mapping"),
            el("Eintrag 2", "Entry 2", lo=0, hi=26000, dflt=12015 if servo else 13024, help="net-mapping"),
            el("Eintrag 3", "Entry 3", lo=0, hi=26000),
            el("Eintrag 4", "Entry 4", lo=0, hi=26000),
            el("Eintrag 5", "Entry 5", lo=0, hi=26000, off=True),
            el("Eintrag 6", "Entry 6", lo=0, hi=26000, off=True),
            el("Übertragungsart", "Transmission type", choices=[
                (0, "Zyklisch synchron", "Cyclic synchronous"), (1, "Zyklisch", "Cyclic"),
                (2, "Bei Änderung", "On change")]),
        ], lvl=2, help="net-mapping"),
        simple("N20", "Steuerwort", "Control word", lo=0, hi=65535, ro=True, lvl=1),
        simple("N21", "Statuswort", "Status word", lo=0, hi=65535, ro=True, lvl=1,
               dflt=0x0231 if servo else 0x0031),
        simple("N22", "Steuerquelle", "Control source", choices=CH_CTRL_SOURCE, dflt=1 if servo else 0,
               help="net-basics"),

        # S: device settings
        simple("S01", "Sprache Bedienfeld", "Keypad language", dev=True, choices=CH_LANGUAGE),
        simple("S02", "Parameterschutz Kennwort", "Parameter protection password", dev=True, lo=0,
               hi=9999, lvl=3, cat=1,
               help=described("<p>Ist ein Kennwort ungleich 0 gesetzt, lassen sich Parameter am "
                              "Bedienfeld erst nach dessen Eingabe ändern. Der Zugang über den "
                              "Inbetriebnahme-PC bleibt davon unberührt.</p>")),
        simple("S03", "Werkseinstellung laden", "Load factory settings", dev=True, choices=CH_FACTORY,
               lvl=3, cat=1, help="sys-factory"),
        simple("S05", "Aktiver Parametersatz", "Active parameter set", choices=CH_PARSET, dflt=1,
               help="sys-parameter-sets"),
        simple("S08", "Taktfrequenz", "Switching frequency", dev=True, choices=CH_PWM,
               dflt=8 if servo else 4, ref=8 if servo else 4, lvl=2, help="sys-pwm"),
        simple("S09", "Netzspannung", "Mains voltage", dev=True, choices=CH_MAINS, dflt=400, lvl=1),
    ]


def shared_help_pages():
    """Identical in both types: the suite keeps one page per identifier."""
    return [
        {"id": "dev-identification", "title": "Gerätedaten und Kennung",
         "html": "<p>Die Parameter der Gruppe A beschreiben das Gerät: Name, Firmware, Seriennummer "
                 "und Betriebsstunden. Nur der Gerätename, das Anlagenkennzeichen und die Achsnamen "
                 "sind beschreibbar.</p><p>Die Firmwareversion wird beim Verbinden gelesen und "
                 "gegen die Gerätebeschreibung geprüft.</p>"},
        {"id": "ctl-method", "title": "Regelverfahren",
         "html": "<p>Das Regelverfahren legt fest, wie der Umrichter den Motor führt.</p><ul>"
                 "<li><b>U/f-Steuerung</b>: einfache Kennliniensteuerung ohne Drehzahlrückführung.</li>"
                 "<li><b>Vektorregelung</b>: feldorientiert, mit oder ohne Geber.</li>"
                 "<li><b>Servoregelung</b>: Lage-, Drehzahl- und Stromregelkreis mit Geber.</li></ul>"
                 "<p>Nach einer Umstellung muss die Motoridentifikation wiederholt werden.</p>"},
        {"id": "ctl-speed-loop", "title": "Drehzahlregler",
         "html": "<p>Der Drehzahlregler ist ein PI-Regler. Die <b>Verstärkung</b> bezieht sich auf "
                 "die Auslegung bei Nennträgheit, die <b>Nachstellzeit</b> bestimmt, wie schnell "
                 "bleibende Abweichungen ausgeglichen werden.</p><p>Zu hohe Verstärkung äußert "
                 "sich in hörbarem Pfeifen, zu kurze Nachstellzeit in Überschwingen.</p>"},
        {"id": "mot-nameplate", "title": "Motordaten vom Typenschild",
         "html": "<p>Tragen Sie die Daten vom Typenschild des Motors ein. Nennstrom, Nenndrehzahl "
                 "und Polpaarzahl gehen unmittelbar in das Motormodell und in die Überwachungen "
                 "ein.</p><p>Die Angaben im Datensatz <i>Typenschild Motor</i> dienen der "
                 "Dokumentation.</p>"},
        {"id": "flt-overview", "title": "Störungen und Störungsspeicher",
         "html": "<p>Eine anstehende Störung sperrt die Endstufe. Der Störungsspeicher hält die "
                 "letzten acht Störungen, Eintrag 1 ist die jüngste.</p><p>Störungen werden über "
                 "die Klemme, den Feldbus oder das Bedienfeld quittiert.</p>"},
        {"id": "io-digital", "title": "Digitale Ein- und Ausgänge",
         "html": "<p>Jedem Eingang DI1 … DI8 kann eine Funktion zugewiesen werden. Der Zustand der "
                 "Klemmen wird unabhängig von der Funktion angezeigt.</p><p>Ausgänge, denen keine "
                 "Funktion zugewiesen ist, bleiben aus.</p>"},
        {"id": "io-analog", "title": "Analogeingänge",
         "html": "<p>Der Analogeingang wird über Offset und Verstärkung auf ±100&nbsp;% abgebildet. "
                 "Die Filterzeit glättet den Wert, die Totzone unterdrückt kleine Werte um "
                 "Null.</p>"},
        {"id": "net-basics", "title": "Feldbus-Grundeinstellungen",
         "html": "<p>Knotenadresse und Übertragungsrate müssen mit der Steuerung übereinstimmen. "
                 "Änderungen werden erst nach einem Neustart des Geräts wirksam.</p><p>Die "
                 "Überwachungszeit 0 schaltet die Kommunikationsüberwachung aus.</p>"},
        {"id": "net-mapping", "title": "Prozessdaten-Abbildung",
         "html": "<p>Jeder Eintrag nennt die Parameternummer, deren Wert im Telegramm übertragen "
                 "wird (Buchstabe mal 1000 plus Nummer plus 1; 0 = frei).</p><p>Es werden so viele "
                 "Einträge übertragen, wie <i>Anzahl Einträge</i> angibt.</p>"},
        {"id": "sys-factory", "title": "Werkseinstellung",
         "html": "<p>Lädt die Werkseinstellung in den gewählten Bereich. Der Parameter springt "
                 "danach auf <i>Keine Aktion</i> zurück.</p><p><b>Achtung:</b> Motordaten und "
                 "Reglereinstellungen gehen dabei verloren.</p>"},
        {"id": "sys-parameter-sets", "title": "Parametersätze",
         "html": "<p>Das Gerät hält vier Parametersätze. Umgeschaltet wird über einen Digitaleingang, "
                 "den Feldbus oder diesen Parameter.</p>"},
        {"id": "sys-pwm", "title": "Taktfrequenz",
         "html": "<p>Eine höhere Taktfrequenz senkt das Motorgeräusch und verbessert die Regelgüte, "
                 "verringert aber den zulässigen Dauerstrom des Geräts.</p>"},
    ]
