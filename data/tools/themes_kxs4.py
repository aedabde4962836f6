"""Theme tables of the KXS-4 Servo, a servo controller for up to four axes.

Axes 1 and 2 have a second encoder connector; axes 2 to 4 can follow a
leading axis (electronic gearing, cam).
"""

from catalogue import array, described, el, family, header, record, series, simple, with_defaults
from themes_common import (CH_ANALOG_MODE, CH_REACTION, INPUT_NAMES, OUTPUT_NAMES,
                           shared_help_pages, shared_rows)

NAME = "KXS-4 Servo"
DESCRIPTOR = "KXS-4 Servo, 4 × 8 A, Firmware 3.2"
MAX_AXES = 4

CH_DI_FUNCTION = [
    (0, "Keine Funktion", "No function"),
    (1, "Freigabe", "Enable"),
    (2, "Schnellhalt", "Quick stop"),
    (3, "Störung quittieren", "Acknowledge fault"),
    (4, "Endschalter positiv", "Positive limit switch"),
    (5, "Endschalter negativ", "Negative limit switch"),
    (6, "Referenzschalter", "Home switch"),
    (7, "Fahrsatz starten", "Start motion block"),
    (8, "Tippen positiv", "Jog positive"),
    (9, "Tippen negativ", "Jog negative"),
    (10, "Parametersatz Bit 0", "Parameter set bit 0"),
    (11, "Parametersatz Bit 1", "Parameter set bit 1"),
    (12, "Messtaster", "Touch probe"),
]

CH_DO_FUNCTION = [
    (0, "Keine Funktion", "No function"),
    (1, "Betriebsbereit", "Ready"),
    (2, "Störung", "Fault"),
    (3, "Warnung", "Warning"),
    (4, "Position erreicht", "In position"),
    (5, "Referenziert", "Homed"),
    (6, "Drehzahl erreicht", "At speed"),
    (7, "Bremse lüften", "Release brake"),
    (8, "Nocke 1", "Cam 1"),
]

CH_INPUT = [(0, "Kein Eingang", "No input")] + [(n, "DI%d" % n, "DI%d" % n) for n in range(1, 9)]

CH_ENCODER = [
    (0, "Kein Geber", "No encoder"),
    (1, "Resolver", "Resolver"),
    (2, "Sinus/Kosinus 1 Vss", "Sine/cosine 1 Vpp"),
    (3, "Inkrementell TTL", "Incremental TTL"),
    (4, "Absolut seriell KxLink", "Serial absolute KxLink"),
    (5, "Hall-Sensoren", "Hall sensors"),
]

CH_AXIS_MODE = [
    (0, "Drehzahlregelung", "Speed control"),
    (1, "Momentenregelung", "Torque control"),
    (2, "Lageregelung zyklisch", "Cyclic position control"),
    (3, "Profilpositionierung", "Profile positioning"),
    (4, "Referenzfahrt", "Homing"),
    (5, "Tippbetrieb", "Jogging"),
    (6, "Folgeachse", "Follower axis"),
]

CH_USER_UNIT = [(0, "Inkremente", "Increments"), (1, "mm", "mm"), (2, "Grad", "Degrees"),
                (3, "Umdrehungen", "Revolutions")]

CH_HOMING = [
    (0, "Keine Referenzfahrt", "No homing"),
    (1, "Istposition übernehmen", "Take actual position"),
    (2, "Referenzschalter positiv", "Home switch, positive direction"),
    (3, "Referenzschalter negativ", "Home switch, negative direction"),
    (4, "Endschalter positiv", "Positive limit switch"),
    (5, "Endschalter negativ", "Negative limit switch"),
    (6, "Nullimpuls positiv", "Index pulse, positive direction"),
    (7, "Nullimpuls negativ", "Index pulse, negative direction"),
    (8, "Festanschlag positiv", "Hard stop, positive direction"),
    (9, "Festanschlag negativ", "Hard stop, negative direction"),
]

CH_BLOCK_MODE = [(0, "Absolut", "Absolute"), (1, "Relativ", "Relative"),
                 (2, "Endlos positiv", "Endless positive"), (3, "Endlos negativ", "Endless negative")]

CH_LEADER = [(0, "Achse 1", "Axis 1"), (1, "Achse 2", "Axis 2"), (2, "Achse 3", "Axis 3"),
             (3, "Externer Leitgeber", "External master encoder")]

CH_AUTOTUNE = [(0, "Aus", "Off"), (1, "Sanft", "Soft"), (2, "Standard", "Standard"), (3, "Dynamisch", "Dynamic")]

CH_TUNE_RESULT = [(0, "Nicht ausgeführt", "Not run"), (1, "Erfolgreich", "Successful"),
                  (2, "Abgebrochen", "Aborted"), (3, "Fehler: Last schwingt", "Error: load oscillates")]

CH_COMMUTATION = [(0, "Aus Geberdaten", "From encoder data"), (1, "Bewegungsarm suchen", "Low-motion search"),
                  (2, "Hall-Sensoren", "Hall sensors"), (3, "Fester Offset", "Fixed offset")]

CH_BRAKE_MODE = [(0, "Automatisch", "Automatic"), (1, "Immer gelüftet", "Always released"),
                 (2, "Immer geschlossen", "Always engaged")]

CH_SCOPE_TRIGGER = [(0, "Sofort", "Immediate"), (1, "Steigende Flanke", "Rising edge"),
                    (2, "Fallende Flanke", "Falling edge"), (3, "Störung", "Fault")]

CH_FIELDBUS = [(0, "Kein Feldbus", "No fieldbus"), (1, "KxNet", "KxNet"), (2, "CAN", "CAN"),
               (3, "Echtzeit-Ethernet", "Real-time Ethernet")]

CH_SYNC = [(0, "Keine", "None"), (1, "Sync-Telegramm", "Sync telegram"), (2, "Verteilte Uhren", "Distributed clocks")]

CH_OPTION = [(0, "Leer", "Empty"), (1, "Feldbuskarte", "Fieldbus card"), (2, "Sicherheitskarte", "Safety card"),
             (3, "Geberkarte", "Encoder card"), (4, "E/A-Erweiterung", "I/O extension")]


def identification():
    rows = [
        simple("A09", "Leistungsteil-Kennung", "Power unit code", dev=True, lo=0, hi=255, ro=True, dflt=8),
        simple("A11", "Nennstrom Achsmodul", "Axis module rated current", unit="A", lo=0, hi=64, dec=1,
               ro=True, dflt=8.0),
        simple("A12", "Spitzenstrom Achsmodul", "Axis module peak current", unit="A", lo=0, hi=192, dec=1,
               ro=True, dflt=24.0),
        simple("A13", "Bootloader-Version", "Boot loader version", dev=True, text=16, ro=True, dflt="1.04"),
        simple("A14", "Logikbaustein-Version", "Logic device version", dev=True, text=16, ro=True, dflt="2.11"),
        record("A15", "Optionssteckplätze", "Option slots", [
            header("Bestückung", "Fitted options"),
            el("Steckplatz 1", "Slot 1", choices=CH_OPTION, dflt=1),
            el("Steckplatz 2", "Slot 2", choices=CH_OPTION, dflt=2),
            el("Steckplatz 3", "Slot 3", choices=CH_OPTION),
            el("Kennung Steckplatz 1", "Slot 1 identifier", text=16, dflt="KXN-ETH 1.2"),
        ], dev=True, ro=True, help="kxs-options"),
        simple("A16", "Inbetriebnahmedatum", "Commissioning date", dev=True, text=10, lvl=1),
        simple("A17", "Inbetriebnehmer", "Commissioned by", dev=True, text=32, lvl=1),
        simple("A18", "Kommentar Parametersatz", "Parameter set comment", dev=True, text=64, lvl=1),
        series("A20", [
            ("Zykluszeit Stromregler", "Current loop cycle time", {"dflt": 62.5}),
            ("Zykluszeit Drehzahlregler", "Speed loop cycle time", {"dflt": 125}),
            ("Zykluszeit Lageregler", "Position loop cycle time", {"dflt": 250}),
        ], dev=True, unit="µs", lo=0, hi=4000, dec=1, ro=True, lvl=2),
        simple("A23", "Achsmodul-Bauform", "Axis module design", choices=[
            (0, "Einzelachse", "Single axis"), (1, "Doppelachse", "Double axis")], ro=True, dflt=1),
        series("A24", [
            ("Seriennummer Achsmodul", "Axis module serial number", {"text": 16, "dflt": "KXA-22-1187"}),
            ("Hardwarestand Achsmodul", "Axis module hardware revision", {"text": 8, "dflt": "B"}),
            ("Betriebsstunden Endstufe", "Power stage operating hours", {"unit": "h", "lo": 0, "hi": 999999,
                                                                         "dec": 1, "dflt": 1190.0}),
        ], ro=True, lvl=1),
    ]
    return with_defaults(_flatten(rows), lvl=0)


def control():
    rows = [
        simple("C02", "Stromregler Verstärkung", "Current controller gain", unit="V/A", lo=0, hi=500, dec=2,
               dflt=28.5, ref=24.0, help="kxs-current-loop"),
        simple("C03", "Stromregler Nachstellzeit", "Current controller integral time", unit="ms", lo=0.05,
               hi=50, dec=2, dflt=0.8, help="kxs-current-loop"),
        simple("C04", "Stromgrenze positiv", "Positive current limit", unit="%", lo=0, hi=300, dflt=300),
        simple("C05", "Stromgrenze negativ", "Negative current limit", unit="%", lo=0, hi=300, dflt=300),
        simple("C06", "Stromsollwertfilter", "Current setpoint filter", unit="ms", lo=0, hi=20, dec=2, dflt=0.2),
        simple("C07", "Feldschwächung", "Field weakening", switch=True, lvl=3, cat=1),
        simple("C08", "Feldschwächung ab Drehzahl", "Field weakening from speed", unit="1/min", lo=0,
               hi=12000, dflt=3000, off=True, lvl=3, cat=1),
        simple("C12", "Verstärkung im Stillstand", "Gain at standstill", unit="%", lo=10, hi=400, dflt=100,
               help="kxs-adaptation"),
        simple("C13", "Adaption bis Drehzahl", "Adaptation up to speed", unit="1/min", lo=0, hi=1000, dflt=50,
               help="kxs-adaptation"),
        simple("C14", "Drehzahl-Istwertfilter", "Speed feedback filter", unit="ms", lo=0, hi=20, dec=2,
               dflt=0.5, ref=1.0),
        simple("C15", "Drehzahl-Sollwertfilter", "Speed setpoint filter", unit="ms", lo=0, hi=100, dec=1),
        simple("C16", "Maximaldrehzahl", "Maximum speed", unit="1/min", lo=0, hi=12000, dflt=4500),
        simple("C17", "Drehzahlgrenze positiv", "Positive speed limit", unit="%", lo=0, hi=110, dflt=100),
        simple("C18", "Drehzahlgrenze negativ", "Negative speed limit", unit="%", lo=0, hi=110, dflt=100),
        simple("C19", "Drehzahlsollwert-Quelle", "Speed setpoint source", choices=[
            (0, "Lageregler", "Position controller"), (1, "Analogeingang AI1", "Analog input AI1"),
            (2, "Feldbus", "Fieldbus"), (3, "Festwert", "Fixed value")], lvl=1),
        simple("C20", "Lageregler Kv-Faktor", "Position controller Kv factor", unit="1/s", lo=0, hi=500, dec=1,
               dflt=40, ref=30, help="kxs-position-loop"),
        simple("C21", "Geschwindigkeitsvorsteuerung", "Velocity feedforward", unit="%", lo=0, hi=120, dec=1,
               dflt=100, help="kxs-position-loop"),
        simple("C22", "Beschleunigungsvorsteuerung", "Acceleration feedforward", unit="%", lo=0, hi=150, dec=1,
               help="kxs-position-loop"),
        simple("C23", "Schleppfehlergrenze", "Following error limit", unit="Inc", lo=0, hi=1000000,
               dflt=20000, lvl=1),
        simple("C25", "Positionierfenster", "Position window", unit="Inc", lo=0, hi=100000, dflt=100, lvl=1),
        simple("C26", "Positionierfenster Zeit", "Position window time", unit="ms", lo=0, hi=10000, dflt=10,
               lvl=1),
        simple("C27", "Stillstandsfenster", "Standstill window", unit="Inc", lo=0, hi=100000, dflt=500, lvl=1),
        _notch("C30", 1, 0),
        _notch("C31", 2, 1),
        array("C32", "Drehzahlregler Verstärkung je Satz", "Speed controller gain per set", 4,
              names=("Parametersatz {n}", "Parameter set {n}"), unit="%", lo=0, hi=2000, dec=1,
              dflts=[100, 100, 150, 80], help="sys-parameter-sets"),
        array("C33", "Drehzahlregler Nachstellzeit je Satz", "Speed controller integral time per set", 4,
              names=("Parametersatz {n}", "Parameter set {n}"), unit="ms", lo=0.1, hi=2000, dec=1,
              dflts=[12, 12, 8, 20], help="sys-parameter-sets"),
        simple("C40", "Reibungskompensation", "Friction compensation", unit="%", lo=0, hi=50, dec=1),
        simple("C41", "Reibungskompensation Schwelle", "Friction compensation threshold", unit="1/min",
               lo=0, hi=100, dec=1, dflt=5),
        simple("C42", "Trägheitsverhältnis Last/Motor", "Load to motor inertia ratio", unit="%", lo=0,
               hi=10000, dflt=300, ref=100, help="kxs-autotuning"),
        simple("C43", "Selbsteinstellung Modus", "Auto-tuning mode", choices=CH_AUTOTUNE, dflt=2,
               cat=1, help="kxs-autotuning"),
        simple("C44", "Selbsteinstellung starten", "Start auto-tuning", switch=True, cat=1, help="kxs-autotuning"),
        simple("C45", "Ergebnis Selbsteinstellung", "Auto-tuning result", choices=CH_TUNE_RESULT, ro=True,
               dflt=1, help="kxs-autotuning"),
        simple("C50", "Momentengrenze Quelle", "Torque limit source", choices=[
            (0, "Parameter", "Parameter"), (1, "Analogeingang AI2", "Analog input AI2"), (2, "Feldbus", "Fieldbus")]),
        simple("C51", "Momentensollwertfilter", "Torque setpoint filter", unit="ms", lo=0, hi=20, dec=2),
        series("C52", [
            ("Istmoment", "Actual torque", {"unit": "%", "lo": -300, "hi": 300, "dec": 1, "dflt": 4.2}),
            ("Iststrom", "Actual current", {"unit": "A", "lo": 0, "hi": 192, "dec": 2, "dflt": 0.38}),
            ("Istdrehzahl", "Actual speed", {"unit": "1/min", "lo": -12000, "hi": 12000}),
            ("Drehzahlabweichung", "Speed deviation", {"unit": "1/min", "lo": -12000, "hi": 12000}),
            ("Schleppfehler", "Following error", {"unit": "Inc", "lo": -1000000, "hi": 1000000, "dflt": 12}),
            ("Zwischenkreisleistung", "DC link power", {"unit": "kW", "lo": -50, "hi": 50, "dec": 2,
                                                        "dflt": 0.05}),
        ], ro=True, lvl=0),
        record("C34", "Schwingungsunterdrückung", "Vibration suppression", [
            header("Schwingungsunterdrückung", "Vibration suppression"),
            el("Aktiv", "Active", switch=True),
            el("Frequenz", "Frequency", unit="Hz", lo=1, hi=200, dec=1, dflt=12),
            el("Dämpfung", "Damping", unit="%", lo=0, hi=100, dflt=30),
        ], lvl=3, cat=1, help=described("<p>Unterdrückt das Nachschwingen der Last am Ende einer "
                                        "Positionierung, z.&nbsp;B. eines ausladenden Greifers. Die Frequenz "
                                        "ist die der Lastschwingung, nicht die des Motors.</p>")),
        simple("C35", "Drehzahlregler Filter 2. Ordnung", "Speed controller second-order filter", unit="Hz",
               lo=0, hi=5000, dflt=0, lvl=3, cat=1),
        series("C60", [
            ("Lastmomentbeobachter", "Load torque observer", {"switch": True}),
            ("Beobachter Bandbreite", "Observer bandwidth", {"unit": "Hz", "lo": 10, "hi": 2000, "dflt": 200}),
            ("Störmomentaufschaltung", "Disturbance torque feedforward", {"unit": "%", "lo": 0, "hi": 100,
                                                                          "dflt": 50}),
            ("Geschätztes Lastmoment", "Estimated load torque", {"unit": "%", "lo": -300, "hi": 300, "dec": 1,
                                                                 "ro": True}),
        ], lvl=3, cat=1, help="kxs-observer"),
    ]
    return with_defaults(_flatten(rows), lvl=2)


def _notch(coord, n, default_on):
    return record(coord, "Kerbfilter %d" % n, "Notch filter %d" % n, [
        header("Kerbfilter %d" % n, "Notch filter %d" % n),
        el("Aktiv", "Active", switch=True, dflt=default_on),
        el("Mittenfrequenz", "Centre frequency", unit="Hz", lo=50, hi=5000, dflt=800 if n == 1 else 1500),
        el("Bandbreite", "Bandwidth", unit="Hz", lo=5, hi=2000, dflt=100),
        el("Tiefe", "Depth", unit="dB", lo=-60, hi=0, dec=1, dflt=-20),
    ], help="kxs-notch", lvl=2)


def motor():
    rows = [
        simple("D07", "Motorkennung", "Motor code", lo=0, hi=65535, dflt=3312, ref=0,
               help=described("<p>Kennung des Motors aus der Motorbibliothek. 0 bedeutet: die Motordaten "
                              "wurden von Hand eingegeben.</p>")),
        simple("D08", "Herkunft der Motordaten", "Source of motor data", choices=[
            (0, "Handeingabe", "Manual entry"), (1, "Elektronisches Typenschild", "Electronic nameplate"),
            (2, "Motorbibliothek", "Motor library")], dflt=1, ref=0),
        simple("D09", "Motorbezeichnung", "Motor designation", text=32, dflt="KXM 71-30"),
        simple("D11", "Motorspitzenstrom", "Motor peak current", unit="A", lo=0.1, hi=192, dec=2, dflt=14.4),
        simple("D12", "Stillstandsstrom", "Standstill current", unit="A", lo=0.1, hi=64, dec=2, dflt=5.1),
        simple("D13", "Drehmomentkonstante", "Torque constant", unit="Nm/A", lo=0.01, hi=20, dec=3, dflt=0.95,
               lvl=2),
        simple("D14", "Spannungskonstante", "Voltage constant", unit="V/(1000/min)", lo=1, hi=1000, dec=1,
               dflt=58.0, lvl=2),
        simple("D15", "Wicklungswiderstand", "Winding resistance", unit="Ω", lo=0.001, hi=100, dec=3,
               dflt=1.85, lvl=2),
        simple("D16", "Wicklungsinduktivität", "Winding inductance", unit="mH", lo=0.01, hi=500, dec=3,
               dflt=7.2, lvl=2),
        simple("D17", "Motorträgheitsmoment", "Motor moment of inertia", unit="kgcm²", lo=0.001, hi=1000,
               dec=3, dflt=1.12, lvl=2),
        simple("D18", "Thermische Zeitkonstante", "Thermal time constant", unit="s", lo=1, hi=7200, dflt=1800,
               lvl=2),
        simple("D19", "Maximale Motordrehzahl", "Maximum motor speed", unit="1/min", lo=100, hi=12000,
               dflt=6000),
        simple("D20", "Kommutierungsoffset", "Commutation offset", unit="°", lo=-180, hi=180, dec=1, lvl=3,
               cat=1, help="kxs-commutation"),
        simple("D21", "Kommutierungsfindung", "Commutation finding", choices=CH_COMMUTATION, lvl=3, cat=1,
               help="kxs-commutation"),
        simple("D22", "Motortemperatur Warnschwelle", "Motor temperature warning threshold", unit="°C",
               lo=0, hi=200, dflt=120),
        simple("D23", "Motortemperatur Abschaltschwelle", "Motor temperature trip threshold", unit="°C",
               lo=0, hi=200, dflt=140),
        simple("D24", "Motorauslastung I²t Grenze", "Motor I²t limit", unit="%", lo=10, hi=150, dflt=100),
        simple("D25", "Reaktion Motorüberlast", "Motor overload reaction", choices=CH_REACTION, dflt=4),
        record("D30", "Haltebremse", "Holding brake", [
            header("Haltebremse", "Holding brake"),
            el("Vorhanden", "Fitted", switch=True, dflt=1),
            el("Lüftzeit", "Release time", unit="ms", lo=0, hi=2000, dflt=80),
            el("Einfallzeit", "Engage time", unit="ms", lo=0, hi=2000, dflt=40),
            el("Bremsenspannung", "Brake voltage", choices=[(24, "24 V", "24 V"), (48, "48 V", "48 V")], dflt=24),
            el("Bremsentest", "Brake test", switch=True, off=True, lvl=3, cat=1,
               help=described("<p>Der Bremsentest prüft das Haltemoment bei geschlossener Bremse. "
                              "Er ist nur mit Sicherheitskarte verfügbar.</p>")),
            el("Schaltspiele", "Switching cycles", lo=0, hi=9999999, ro=True, dflt=15230),
        ], help="kxs-brake"),
        simple("D31", "Bremsensteuerung", "Brake control", choices=CH_BRAKE_MODE, help="kxs-brake"),
        simple("D32", "Bremse Verzögerung Freigabe", "Brake enable delay", unit="ms", lo=0, hi=1000, dflt=20,
               help="kxs-brake", lvl=2),
        simple("D33", "Motor-Auslastung", "Motor load", unit="%", lo=0, hi=300, dec=1, ro=True, dflt=18.0),
        simple("D34", "Motorleistung Istwert", "Actual motor power", unit="kW", lo=-50, hi=50, dec=2, ro=True),
        simple("D35", "Motormodell Temperatur", "Motor model temperature", unit="°C", lo=-40, hi=250, dec=1,
               ro=True, dflt=43.5),
        series("D40", [
            ("Umgebungstemperatur Motor", "Motor ambient temperature", {"unit": "°C", "lo": -20, "hi": 60,
                                                                        "dflt": 40}),
            ("Kupferzeitkonstante", "Copper time constant", {"unit": "s", "lo": 1, "hi": 600, "dflt": 30}),
            ("Motorstrom Effektivwert", "Motor current RMS", {"unit": "A", "lo": 0, "hi": 192, "dec": 2,
                                                              "ro": True, "dflt": 1.05}),
            ("Motorspannung Istwert", "Actual motor voltage", {"unit": "V", "lo": 0, "hi": 800, "ro": True,
                                                               "dflt": 18}),
        ], lvl=2),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def encoder():
    rows = [
        simple("E01", "Gebertyp Motorgeber", "Motor encoder type", choices=CH_ENCODER, dflt=4, help="kxs-encoder"),
        simple("E02", "Strichzahl Motorgeber", "Motor encoder line count", lo=1, hi=65535, dflt=2048,
               help="kxs-encoder"),
        simple("E03", "Polpaare Resolver", "Resolver pole pairs", lo=1, hi=8, dflt=1, off=True),
        simple("E04", "Zählrichtung umkehren", "Invert counting direction", switch=True),
        simple("E05", "Auflösung Singleturn", "Single-turn resolution", unit="Bit", lo=8, hi=32, dflt=20,
               ro=True),
        simple("E06", "Auflösung Multiturn", "Multi-turn resolution", unit="Bit", lo=0, hi=16, dflt=12, ro=True),
        simple("E07", "Absolutlage Verschiebung", "Absolute position offset", unit="Inc", lo=-2147483648,
               hi=2147483647, lvl=2),
        simple("E08", "Geber-Signalfilter", "Encoder signal filter", unit="µs", lo=0, hi=100, dec=1, dflt=0.5,
               lvl=3, cat=1),
        simple("E09", "Geberversorgung", "Encoder supply", choices=[
            (5, "5 V", "5 V"), (8, "8 V", "8 V"), (12, "12 V", "12 V")], dflt=5, lvl=2),
        simple("E10", "Reaktion Geberfehler", "Encoder fault reaction", choices=CH_REACTION, dflt=2),
        simple("E11", "Lage Motorgeber", "Motor encoder position", unit="Inc", lo=-2147483648, hi=2147483647,
               ro=True, dflt=1048576),
        simple("E12", "Geberstatus", "Encoder status", lo=0, hi=65535, ro=True, lvl=2),
        simple("E13", "Gebertemperatur", "Encoder temperature", unit="°C", lo=-40, hi=150, ro=True, dflt=39),
        simple("E14", "Signalamplitude", "Signal amplitude", unit="%", lo=0, hi=200, dec=1, ro=True,
               dflt=98.5, lvl=2),
        simple("E15", "Übertragungsfehler", "Transmission errors", lo=0, hi=65535, ro=True, lvl=2),
        record("E16", "Elektronisches Typenschild Geber", "Encoder electronic nameplate", [
            header("Typenschild Geber", "Encoder nameplate"),
            el("Hersteller", "Manufacturer", text=24, dflt="Kx Sensorik"),
            el("Typ", "Type", text=24, dflt="KXE 20/12"),
            el("Seriennummer", "Serial number", text=24, dflt="E2107733"),
            el("Auflösung", "Resolution", unit="Bit", lo=0, hi=32, dflt=20),
            el("Gültig", "Valid", switch=True, dflt=1),
        ], ro=True, help="kxs-encoder"),
        series("E20", [
            ("Gebertyp Lastgeber", "Load encoder type", {"choices": [c for c in CH_ENCODER if c[0] in (0, 2, 3, 4)]}),
            ("Strichzahl Lastgeber", "Load encoder line count", {"lo": 1, "hi": 65535, "dflt": 5000}),
            ("Zählrichtung Lastgeber umkehren", "Invert load encoder direction", {"switch": True}),
            ("Getriebe Lastgeber Zähler", "Load encoder gear numerator", {"lo": 1, "hi": 65535, "dflt": 1}),
            ("Getriebe Lastgeber Nenner", "Load encoder gear denominator", {"lo": 1, "hi": 65535, "dflt": 1}),
            ("Lage Lastgeber", "Load encoder position", {"unit": "Inc", "lo": -2147483648, "hi": 2147483647,
                                                        "ro": True}),
            ("Zulässige Abweichung Motor/Last", "Permitted motor/load deviation",
             {"unit": "Inc", "lo": 0, "hi": 1000000, "dflt": 10000}),
            ("Reaktion Abweichung Motor/Last", "Motor/load deviation reaction", {"choices": CH_REACTION, "dflt": 3}),
        ], axes=[1, 2], help="kxs-load-encoder"),
        record("E30", "Geber-Nachbildung", "Encoder emulation", [
            header("Geber-Nachbildung X7", "Encoder emulation X7"),
            el("Aktiv", "Active", switch=True),
            el("Ausgangsstrichzahl", "Output line count", lo=16, hi=16384, dflt=1024),
            el("Nullimpuls-Lage", "Index pulse position", unit="°", lo=0, hi=359.9, dec=1),
            el("Quelle", "Source", choices=[(0, "Motorgeber", "Motor encoder"), (1, "Lastgeber", "Load encoder"),
                                            (2, "Sollwert", "Setpoint")]),
        ], axes=[1], lvl=2, help=described(
            "<p>Gibt die Lage der Achse 1 als Inkrementalsignal an der Klemme X7 aus, z.&nbsp;B. "
            "für eine übergeordnete Steuerung oder eine Folgeachse.</p>")),
        series("E40", [
            ("Signalüberwachung", "Signal monitoring", {"switch": True, "dflt": 1}),
            ("Amplitudengrenze unten", "Lower amplitude limit", {"unit": "%", "lo": 0, "hi": 100, "dflt": 50}),
            ("Amplitudengrenze oben", "Upper amplitude limit", {"unit": "%", "lo": 100, "hi": 200, "dflt": 140}),
            ("Nullimpulsüberwachung", "Index pulse monitoring", {"switch": True}),
            ("Zählfehler-Toleranz", "Counting error tolerance", {"unit": "Inc", "lo": 0, "hi": 1000, "dflt": 4}),
            ("Initialisierungszeit", "Initialisation time", {"unit": "ms", "lo": 0, "hi": 5000, "dflt": 500,
                                                             "ro": True}),
        ], lvl=2, help="kxs-encoder"),
    ]
    return with_defaults(_flatten(rows), lvl=1)


FAULT_EVENTS = [
    ("Motorübertemperatur", "motor overtemperature", 4),
    ("Gerätetemperatur", "device temperature", 4),
    ("Kommunikationsausfall", "communication loss", 3),
    ("Endschalter angefahren", "limit switch reached", 3),
    ("Schleppfehler", "following error", 2),
    ("Überdrehzahl", "overspeed", 2),
    ("Unterspannung", "undervoltage", 2),
    ("Bremsenfehler", "brake fault", 2),
    ("Motorphasenausfall", "motor phase loss", 2),
    ("Stillstandsüberwachung", "standstill monitoring", 1),
    ("Software-Endschalter", "software limit", 3),
    ("Externe Störung", "external fault", 4),
]


def faults():
    reactions = [("Reaktion %s" % de, "Reaction to %s" % en, {"dflt": d}) for de, en, d in FAULT_EVENTS]
    reactions[4][2]["ref"] = 3
    rows = [
        simple("F03", "Störung Zusatzinformation", "Fault detail", lo=0, hi=65535, ro=True, lvl=2),
        simple("F04", "Anstehende Warnungen", "Pending warnings", lo=0, hi=65535, ro=True),
        simple("F05", "Störung quittieren", "Acknowledge fault", switch=True, help="flt-overview"),
        simple("F06", "Automatisch quittieren", "Automatic acknowledge", switch=True, lvl=2),
        simple("F07", "Versuche automatisches Quittieren", "Automatic acknowledge attempts", lo=0, hi=10, dflt=3,
               off=True, lvl=2),
        array("F08", "Störungsspeicher Zeitpunkt", "Fault memory time stamp", 8,
              names=("Eintrag {n}", "Entry {n}"), unit="h", lo=0, hi=999999, dec=1, ro=True, dev=True,
              dflts=[1190.2, 877.0, 0, 0, 0, 0, 0, 0], help="flt-overview"),
        simple("F14", "Unterspannungsschwelle", "Undervoltage threshold", dev=True, unit="V", lo=200, hi=600,
               dflt=400, lvl=2),
        simple("F15", "Überspannungsschwelle", "Overvoltage threshold", dev=True, unit="V", lo=600, hi=900,
               dflt=820, lvl=3, cat=1),
        simple("F16", "Kühlkörper Warnschwelle", "Heat sink warning threshold", dev=True, unit="°C", lo=40,
               hi=95, dflt=80, lvl=2),
        simple("F17", "Reaktion Netzphasenausfall", "Mains phase loss reaction", dev=True, choices=CH_REACTION,
               dflt=1),
        simple("F18", "Erdschlussüberwachung", "Earth fault monitoring", dev=True, switch=True, dflt=1, lvl=3,
               cat=1),
        simple("F19", "Geräteauslastung I²t", "Device I²t load", dev=True, unit="%", lo=0, hi=150, dec=1,
               ro=True, dflt=7.5),
        series("F30", reactions, choices=CH_REACTION, help="kxs-fault-reaction"),
        simple("F50", "Schnellhaltrampe", "Quick stop ramp", unit="ms", lo=1, hi=10000, dflt=100),
        simple("F51", "Überdrehzahlgrenze", "Overspeed limit", unit="%", lo=100, hi=150, dflt=120),
        record("F52", "Bremswiderstand", "Braking resistor", [
            header("Bremswiderstand", "Braking resistor"),
            el("Ausführung", "Type", choices=[(0, "Kein", "None"), (1, "Intern", "Internal"),
                                              (2, "Extern", "External")], dflt=1),
            el("Widerstand", "Resistance", unit="Ω", lo=5, hi=500, dec=1, dflt=68),
            el("Dauerleistung", "Continuous power", unit="W", lo=10, hi=20000, dflt=150),
            el("Einschaltschwelle", "Switch-on threshold", unit="V", lo=650, hi=850, dflt=780),
        ], dev=True, help="kxs-braking-resistor", lvl=2),
        simple("F53", "Auslastung Bremswiderstand", "Braking resistor load", dev=True, unit="%", lo=0, hi=200,
               dec=1, ro=True, dflt=2.5),
        simple("F60", "Störungsspeicher löschen", "Clear fault memory", dev=True, switch=True, lvl=3, cat=1),
        array("F61", "Störungszähler", "Fault counters", 12,
              names=[(de, en.capitalize()) for de, en, _ in FAULT_EVENTS], lo=0, hi=65535, ro=True, dev=True,
              dflts=[0, 0, 3, 1, 7, 0, 2, 0, 0, 0, 1, 0], lvl=2),
        series("F70", [
            ("Temperatur-Vorwarnung Achsmodul", "Axis module temperature prewarning",
             {"unit": "°C", "lo": 40, "hi": 95, "dflt": 75}),
            ("Temperatur Achsmodul", "Axis module temperature", {"unit": "°C", "lo": -40, "hi": 150, "dec": 1,
                                                                 "ro": True, "dflt": 36.5}),
            ("Kurzschlussprüfung beim Freigeben", "Short-circuit test on enable", {"switch": True, "dflt": 1,
                                                                                   "lvl": 3, "cat": 1}),
            ("Stillstandsüberwachung Zeit", "Standstill monitoring time", {"unit": "ms", "lo": 0, "hi": 10000,
                                                                           "dflt": 200}),
        ], lvl=2),
    ]
    return with_defaults(_flatten(rows), lvl=0)


def inputs_outputs():
    rows = [
        array("I10", "Funktion Digitaleingänge", "Digital input functions", 8, names=INPUT_NAMES, dev=True,
              choices=CH_DI_FUNCTION, dflts=[1, 3, 4, 5, 6, 7, 0, 0], refs=[1, 3, 0, 0, 0, 0, 0, 0], help="io-digital"),
        array("I11", "Digitaleingänge invertieren", "Invert digital inputs", 8, names=INPUT_NAMES, dev=True,
              switch=True, dflts=[0, 0, 1, 1, 0, 0, 0, 0], lvl=2),
        array("I12", "Entprellzeit Digitaleingänge", "Digital input debounce time", 8, names=INPUT_NAMES,
              dev=True, unit="ms", lo=0, hi=100, dec=1, dflts=[2, 2, 1, 1, 1, 0.5, 2, 2], lvl=2),
        array("I20", "Funktion Digitalausgänge", "Digital output functions", 4, names=OUTPUT_NAMES, dev=True,
              choices=CH_DO_FUNCTION, dflts=[1, 2, 4, 7], help="io-digital"),
        array("I21", "Digitalausgänge invertieren", "Invert digital outputs", 4, names=OUTPUT_NAMES, dev=True,
              switch=True, lvl=2),
        record("I31", "Analogeingang AI2", "Analog input AI2", [
            header("Analogeingang AI2", "Analog input AI2"),
            el("Betriebsart", "Mode", choices=CH_ANALOG_MODE, dflt=1),
            el("Offset", "Offset", unit="V", lo=-1, hi=1, dec=3),
            el("Verstärkung", "Gain", unit="%", lo=-400, hi=400, dec=1, dflt=100),
            el("Filterzeit", "Filter time", unit="ms", lo=0, hi=500, dec=1, dflt=10),
            el("Istwert", "Actual value", unit="%", lo=-100, hi=100, dec=1, ro=True),
        ], dev=True, help="io-analog"),
        record("I32", "Analogausgang AO1", "Analog output AO1", [
            header("Analogausgang AO1", "Analog output AO1"),
            el("Quelle", "Source", choices=[(0, "Aus", "Off"), (1, "Istdrehzahl Achse 1", "Actual speed axis 1"),
                                            (2, "Istmoment Achse 1", "Actual torque axis 1"),
                                            (3, "Zwischenkreisspannung", "DC link voltage")], dflt=1),
            el("Skalierung", "Scaling", unit="%", lo=-1000, hi=1000, dec=1, dflt=100),
            el("Offset", "Offset", unit="V", lo=-10, hi=10, dec=2),
        ], dev=True, lvl=2),
        series("I40", [
            ("Eingang Endschalter positiv", "Positive limit switch input", {"dflt": 3}),
            ("Eingang Endschalter negativ", "Negative limit switch input", {"dflt": 4}),
            ("Eingang Referenzschalter", "Home switch input", {"dflt": 5}),
        ], choices=CH_INPUT, help="kxs-limit-switches"),
        simple("I43", "Endschalter Logik", "Limit switch logic", choices=[
            (0, "Öffner", "Normally closed"), (1, "Schließer", "Normally open")], help="kxs-limit-switches"),
        simple("I44", "Eingang Achsfreigabe", "Axis enable input", choices=CH_INPUT, dflt=1),
        simple("I45", "Eingang Schnellhalt", "Quick stop input", choices=CH_INPUT, dflt=2),
        record("I50", "Messtaster", "Touch probe", [
            header("Messtaster", "Touch probe"),
            el("Aktiv", "Active", switch=True),
            el("Eingang", "Input", choices=CH_INPUT, dflt=8),
            el("Flanke", "Edge", choices=[(0, "Steigend", "Rising"), (1, "Fallend", "Falling"),
                                          (2, "Beide", "Both")]),
            el("Gemessene Lage", "Captured position", unit="Inc", lo=-2147483648, hi=2147483647, ro=True),
            el("Messungen", "Captures", lo=0, hi=65535, ro=True),
        ], lvl=2, help=described("<p>Speichert die Lage der Achse bei einer Flanke am gewählten Eingang. "
                                 "Die Erfassung geschieht in der Hardware, ihre Unsicherheit liegt unter "
                                 "einer Mikrosekunde.</p>")),
        simple("I60", "Sicher abgeschaltetes Moment aktiv", "Safe torque off active", dev=True, switch=True,
               ro=True, help="kxs-sto"),
        simple("I61", "Diagnose Sicherheitsabschaltung", "Safe torque off diagnosis", dev=True, lo=0, hi=255,
               ro=True, lvl=2, help="kxs-sto"),
        simple("I62", "Wiederanlauf nach Sicherheitsabschaltung", "Restart after safe torque off", dev=True,
               choices=[(0, "Quittierung nötig", "Acknowledge required"), (1, "Automatisch", "Automatic")],
               lvl=2, help="kxs-sto"),
        family("I70", 4, [
            ("Vergleicher {n} Quelle", "Comparator {n} source",
             {"choices": [(0, "Aus", "Off"), (1, "Istdrehzahl", "Actual speed"), (2, "Istmoment", "Actual torque"),
                          (3, "Istposition", "Actual position"), (4, "Schleppfehler", "Following error")]}),
            ("Vergleicher {n} Schwelle", "Comparator {n} threshold", {"lo": -1000000, "hi": 1000000}),
            ("Vergleicher {n} Hysterese", "Comparator {n} hysteresis", {"lo": 0, "hi": 100000, "dflt": 10}),
            ("Vergleicher {n} Verzögerung", "Comparator {n} delay", {"unit": "ms", "lo": 0, "hi": 10000}),
        ]),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def motion():
    rows = [
        simple("M01", "Betriebsart Achse", "Axis operating mode", choices=CH_AXIS_MODE, dflt=3, lvl=0,
               help="kxs-operating-modes"),
        simple("M02", "Anwendereinheit", "User unit", choices=CH_USER_UNIT, dflt=1, help="kxs-units"),
        simple("M03", "Vorschubkonstante", "Feed constant", unit="mm/U", lo=0.001, hi=10000, dec=3, dflt=10,
               help="kxs-units"),
        simple("M04", "Getriebe Motorumdrehungen", "Gear motor revolutions", lo=1, hi=65535, dflt=1,
               help="kxs-units"),
        simple("M05", "Getriebe Abtriebsumdrehungen", "Gear output revolutions", lo=1, hi=65535, dflt=1,
               help="kxs-units"),
        simple("M06", "Maximalgeschwindigkeit", "Maximum velocity", unit="mm/s", lo=0, hi=20000, dec=1,
               dflt=500),
        simple("M07", "Maximalbeschleunigung", "Maximum acceleration", unit="mm/s²", lo=0, hi=100000, dflt=5000),
        simple("M08", "Maximalverzögerung", "Maximum deceleration", unit="mm/s²", lo=0, hi=100000, dflt=5000),
        simple("M09", "Ruckbegrenzung", "Jerk limitation", unit="ms", lo=0, hi=1000, dflt=20, ref=0, lvl=2),
        record("M10", "Software-Endschalter", "Software limits", [
            header("Software-Endschalter", "Software limits"),
            el("Aktiv", "Active", switch=True, dflt=1),
            el("Grenze positiv", "Positive limit", unit="mm", lo=-100000, hi=100000, dec=3, dflt=1000),
            el("Grenze negativ", "Negative limit", unit="mm", lo=-100000, hi=100000, dec=3, dflt=-5),
            el("Nur nach Referenzfahrt", "Only after homing", switch=True, dflt=1),
        ], help="kxs-software-limits"),
        simple("M11", "Rundachse", "Modulo axis", switch=True),
        simple("M12", "Rundachse Bereich", "Modulo range", unit="mm", lo=0, hi=100000, dec=3, dflt=360, off=True),
        simple("M13", "Umkehrspiel", "Backlash", unit="mm", lo=0, hi=10, dec=3, lvl=2),
        simple("M20", "Referenzfahrt Methode", "Homing method", choices=CH_HOMING, dflt=3, help="kxs-homing"),
        series("M21", [
            ("Referenzfahrt Geschwindigkeit Suche", "Homing search velocity", {"unit": "mm/s", "dflt": 50}),
            ("Referenzfahrt Geschwindigkeit Freifahren", "Homing creep velocity", {"unit": "mm/s", "dflt": 5}),
            ("Referenzfahrt Beschleunigung", "Homing acceleration", {"unit": "mm/s²", "dflt": 500}),
            ("Referenzposition", "Home position", {"unit": "mm", "lo": -100000, "dec": 3}),
            ("Referenzfahrt Zeitgrenze", "Homing time limit", {"unit": "s", "hi": 600, "dflt": 60}),
        ], lo=0, hi=100000, help="kxs-homing"),
        simple("M26", "Referenziert", "Homed", switch=True, ro=True, lvl=0, help="kxs-homing"),
        simple("M27", "Festanschlag Stromgrenze", "Hard stop current limit", unit="%", lo=5, hi=100, dflt=30,
               help="kxs-homing", lvl=2),
        series("M30", [
            ("Tippgeschwindigkeit", "Jog velocity", {"unit": "mm/s", "dflt": 20}),
            ("Tippgeschwindigkeit schnell", "Fast jog velocity", {"unit": "mm/s", "dflt": 100}),
            ("Tippbeschleunigung", "Jog acceleration", {"unit": "mm/s²", "dflt": 200}),
            ("Tippschrittweite", "Jog step width", {"unit": "mm", "dec": 3, "dflt": 1}),
        ], lo=0, hi=10000),
        array("M40", "Fahrsatz Zielposition", "Motion block target position", 16,
              names=("Satz {n}", "Block {n}"), unit="mm", lo=-100000, hi=100000, dec=3,
              dflts=[0, 250, 500, 750, 1000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0], help="kxs-motion-blocks"),
        array("M41", "Fahrsatz Geschwindigkeit", "Motion block velocity", 16,
              names=("Satz {n}", "Block {n}"), unit="mm/s", lo=0, hi=20000, dec=1,
              dflts=[200, 200, 200, 200, 100] + [50] * 11, help="kxs-motion-blocks"),
        array("M42", "Fahrsatz Beschleunigung", "Motion block acceleration", 16,
              names=("Satz {n}", "Block {n}"), unit="mm/s²", lo=0, hi=100000, dflts=[2000] * 5 + [1000] * 11,
              help="kxs-motion-blocks"),
        array("M43", "Fahrsatz Verweilzeit", "Motion block dwell time", 16,
              names=("Satz {n}", "Block {n}"), unit="ms", lo=0, hi=60000, help="kxs-motion-blocks"),
        array("M44", "Fahrsatz Modus", "Motion block mode", 16, names=("Satz {n}", "Block {n}"),
              choices=CH_BLOCK_MODE, help="kxs-motion-blocks"),
        array("M45", "Fahrsatz Folgesatz", "Motion block successor", 16, names=("Satz {n}", "Block {n}"),
              lo=0, hi=16, help=described("<p>Nummer des Fahrsatzes, der nach diesem gestartet wird; "
                                          "0 beendet die Satzfolge.</p>")),
        simple("M46", "Startsatz", "Start block", lo=1, hi=16, dflt=1, help="kxs-motion-blocks"),
        series("M50", [
            ("Istposition", "Actual position", {"unit": "mm", "lo": -100000, "hi": 100000, "dec": 3,
                                                "dflt": 12.5}),
            ("Sollposition", "Setpoint position", {"unit": "mm", "lo": -100000, "hi": 100000, "dec": 3,
                                                   "dflt": 12.5}),
            ("Istgeschwindigkeit", "Actual velocity", {"unit": "mm/s", "lo": -20000, "hi": 20000, "dec": 1}),
            ("Restweg", "Distance to go", {"unit": "mm", "lo": -200000, "hi": 200000, "dec": 3}),
            ("Aktiver Fahrsatz", "Active motion block", {"lo": 0, "hi": 16}),
        ], ro=True, lvl=0),
        record("M60", "Elektronisches Getriebe", "Electronic gearing", [
            header("Elektronisches Getriebe", "Electronic gearing"),
            el("Aktiv", "Active", switch=True),
            el("Leitachse", "Leading axis", choices=CH_LEADER),
            el("Übersetzung Zähler", "Ratio numerator", lo=-65535, hi=65535, dflt=1),
            el("Übersetzung Nenner", "Ratio denominator", lo=1, hi=65535, dflt=1),
            el("Einkuppeln", "Engage", choices=[(0, "Sofort", "Immediately"), (1, "Bei Lage", "At position"),
                                                (2, "Über Rampe", "With ramp")]),
            el("Einkuppellage", "Engage position", unit="mm", lo=-100000, hi=100000, dec=3),
        ], axes=[2, 3, 4], help="kxs-gearing"),
        array("M61", "Kurvenscheibe Stützpunkte", "Cam profile points", 16,
              names=("Stützpunkt {n}", "Point {n}"), unit="mm", lo=-100000, hi=100000, dec=3,
              dflts=[0, 2, 8, 18, 30, 42, 50, 54, 55, 54, 50, 42, 30, 18, 8, 2], axes=[2, 3, 4], help="kxs-gearing",
              lvl=2),
        simple("M62", "Kurvenscheibe aktiv", "Cam active", switch=True, axes=[2, 3, 4], help="kxs-gearing"),
        family("M100", 4, [
            ("Nocke {n} Einschaltlage", "Cam {n} on position", {"unit": "mm", "lo": -100000, "hi": 100000,
                                                                "dec": 3}),
            ("Nocke {n} Ausschaltlage", "Cam {n} off position", {"unit": "mm", "lo": -100000, "hi": 100000,
                                                                 "dec": 3}),
            ("Nocke {n} Vorhalt", "Cam {n} lead time", {"unit": "ms", "lo": 0, "hi": 100, "dec": 1, "lvl": 2}),
        ]),
        series("M14", [
            ("Zielposition Feldbus", "Fieldbus target position", {"unit": "mm", "lo": -100000, "hi": 100000,
                                                                  "dec": 3, "ro": True}),
            ("Override Geschwindigkeit", "Velocity override", {"unit": "%", "lo": 0, "hi": 150, "dflt": 100}),
            ("Override Beschleunigung", "Acceleration override", {"unit": "%", "lo": 1, "hi": 150, "dflt": 100}),
            ("Halt-Verzögerung", "Halt deceleration", {"unit": "mm/s²", "lo": 0, "hi": 100000, "dflt": 2000}),
            ("Verhalten bei Halt", "Halt behaviour", {"choices": [(0, "Rampe", "Ramp"),
                                                                  (1, "Schnellhaltrampe", "Quick stop ramp"),
                                                                  (2, "Stromgrenze", "Current limit")]}),
        ]),
        series("M63", [
            ("Leitachse Filter", "Leading axis filter", {"unit": "ms", "lo": 0, "hi": 100, "dec": 1, "dflt": 1}),
            ("Lageversatz Folgeachse", "Follower position offset", {"unit": "mm", "lo": -100000, "hi": 100000,
                                                                    "dec": 3}),
            ("Synchronlauf erreicht", "Synchronised", {"switch": True, "ro": True}),
            ("Synchronfehler", "Synchronisation error", {"unit": "mm", "lo": -1000, "hi": 1000, "dec": 3,
                                                          "ro": True}),
        ], axes=[2, 3, 4], help="kxs-gearing"),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def network():
    rows = [
        simple("N04", "Feldbus", "Fieldbus", dev=True, choices=CH_FIELDBUS, ro=True, dflt=3),
        simple("N05", "IP-Adresse", "IP address", dev=True, text=15, dflt="192.168.10.21", help="kxs-ethernet"),
        simple("N06", "Netzmaske", "Network mask", dev=True, text=15, dflt="255.255.255.0", help="kxs-ethernet"),
        simple("N07", "Standard-Gateway", "Default gateway", dev=True, text=15, help="kxs-ethernet"),
        simple("N08", "Adresse automatisch beziehen", "Obtain address automatically", dev=True, switch=True,
               help="kxs-ethernet"),
        simple("N09", "MAC-Adresse", "MAC address", dev=True, text=17, ro=True, dflt="00:1B:4A:07:33:21"),
        record("N11", "Prozessdaten Senden", "Transmit process data", [
            header("Sendeabbild", "Transmit mapping"),
            el("Anzahl Einträge", "Number of entries", lo=0, hi=6, dflt=3),
            el("Eintrag 1", "Entry 1", lo=0, hi=26000, dflt=13022),
            el("Eintrag 2", "Entry 2", lo=0, hi=26000, dflt=2055),
            el("Eintrag 3", "Entry 3", lo=0, hi=26000, dflt=12051),
            el("Eintrag 4", "Entry 4", lo=0, hi=26000),
            el("Eintrag 5", "Entry 5", lo=0, hi=26000, off=True),
            el("Eintrag 6", "Entry 6", lo=0, hi=26000, off=True),
        ], help="net-mapping"),
        simple("N12", "Zykluszeit Prozessdaten", "Process data cycle time", dev=True, unit="ms", lo=0.25,
               hi=100, dec=2, dflt=1, ref=2),
        simple("N13", "Synchronisation", "Synchronisation", dev=True, choices=CH_SYNC, dflt=2),
        simple("N14", "Reaktion Kommunikationsfehler", "Communication fault reaction", choices=CH_REACTION,
               dflt=3),
        simple("N15", "Empfangene Telegramme", "Received telegrams", dev=True, lo=0, hi=4294967295, ro=True,
               dflt=5521930),
        simple("N16", "Fehlerhafte Telegramme", "Faulty telegrams", dev=True, lo=0, hi=4294967295, ro=True,
               dflt=3),
        simple("N17", "Feldbuszustand", "Fieldbus state", dev=True, choices=[
            (0, "Initialisierung", "Initialising"), (1, "Vorbetrieb", "Pre-operational"),
            (2, "Betrieb", "Operational"), (3, "Gestoppt", "Stopped")], ro=True, dflt=2),
        simple("N23", "Sollwert Feldbus", "Fieldbus setpoint", lo=-2147483648, hi=2147483647, ro=True),
        simple("N30", "Webserver", "Web server", dev=True, switch=True, dflt=1, ref=0, lvl=3, cat=1),
        simple("N31", "Servicezugang", "Service access", dev=True, switch=True, lvl=3, cat=1),
        simple("N32", "Service-Port", "Service port", dev=True, lo=1024, hi=65535, dflt=4840, lvl=3, cat=1),
        simple("N33", "Gerätename im Netz", "Network device name", dev=True, text=32, dflt="kxs4-servo"),
        family("N40", 2, [
            ("Querverkehr {n} Quellachse", "Cross traffic {n} source axis",
             {"choices": [(n, "Achse %d" % n, "Axis %d" % n) for n in range(1, 5)]}),
            ("Querverkehr {n} Parameter", "Cross traffic {n} parameter", {"lo": 0, "hi": 26000}),
            ("Querverkehr {n} Zykluszeit", "Cross traffic {n} cycle time", {"unit": "ms", "lo": 1, "hi": 1000,
                                                                            "dflt": 4}),
        ]),
    ]
    return with_defaults(_flatten(rows), lvl=2)


def system():
    rows = [
        simple("S04", "Quelle Parametersatzwahl", "Parameter set selection source", choices=[
            (0, "Parameter", "Parameter"), (1, "Digitaleingänge", "Digital inputs"), (2, "Feldbus", "Fieldbus")],
            help="sys-parameter-sets"),
        simple("S06", "Parameter speichern", "Save parameters", dev=True, switch=True, cat=1),
        simple("S07", "Automatisch speichern", "Save automatically", dev=True, switch=True, dflt=1),
        simple("S10", "Anzeige Bedienfeld", "Keypad display", dev=True, choices=[
            (0, "Zustand", "State"), (1, "Istdrehzahl Achse 1", "Actual speed axis 1"),
            (2, "Zwischenkreisspannung", "DC link voltage"), (3, "Auslastung", "Utilisation")]),
        simple("S11", "Helligkeit Anzeige", "Display brightness", dev=True, unit="%", lo=10, hi=100, dflt=80),
        simple("S13", "Uhrzeit vom Feldbus", "Time from fieldbus", dev=True, switch=True, lvl=2),
        simple("S14", "Zeitzone", "Time zone", dev=True, unit="h", lo=-12, hi=14, dflt=1, lvl=2),
        simple("S15", "Lüftersteuerung", "Fan control", dev=True, choices=[
            (0, "Temperaturabhängig", "Temperature-controlled"), (1, "Immer ein", "Always on")], lvl=2),
        simple("S16", "Lüfter Betriebsstunden", "Fan operating hours", dev=True, unit="h", lo=0, hi=999999,
               ro=True, dflt=1105),
        simple("S17", "Hochlaufzeit Gerät", "Device start-up time", dev=True, unit="ms", lo=0, hi=60000,
               ro=True, dflt=2350, lvl=3, cat=1),
        record("S20", "Oszilloskop", "Oscilloscope", [
            header("Oszilloskop", "Oscilloscope"),
            el("Abtastzeit", "Sampling time", unit="ms", lo=0.0625, hi=100, dec=4, dflt=1),
            el("Aufzeichnungsdauer", "Recording time", unit="ms", lo=10, hi=60000, dflt=1000),
            el("Trigger", "Trigger", choices=CH_SCOPE_TRIGGER),
            el("Triggerschwelle", "Trigger level", lo=-1000000, hi=1000000, dec=1),
            el("Vortrigger", "Pre-trigger", unit="%", lo=0, hi=100, dflt=10),
            el("Zustand", "State", choices=[(0, "Bereit", "Ready"), (1, "Wartet auf Trigger", "Waiting"),
                                            (2, "Aufzeichnung fertig", "Recording complete")], ro=True),
        ], dev=True, help="kxs-oscilloscope"),
        array("S21", "Oszilloskop Kanalquellen", "Oscilloscope channel sources", 4,
              names=("Kanal {n}", "Channel {n}"), dev=True, lo=0, hi=26000, dflts=[2055, 2053, 2057, 0],
              help="kxs-oscilloscope"),
        array("S30", "Anwenderliste", "User list", 16, names=("Platz {n}", "Position {n}"), dev=True, lo=0,
              hi=26000, dflts=[2011, 2012, 2021, 4002, 12041] + [0] * 11, lvl=1,
              help=described("<p>Nummern der Parameter, die das Bedienfeld im Menü <i>Anwender</i> "
                             "zeigt (0 = frei).</p>")),
        simple("S40", "Diagnose-Protokoll", "Diagnostic log", dev=True, choices=[
            (0, "Aus", "Off"), (1, "Störungen", "Faults"), (2, "Ausführlich", "Verbose")], off=True, lvl=3, cat=1),
        family("S50", 4, [
            ("Datenlogger Kanal {n} Quelle", "Data logger channel {n} source", {"lo": 0, "hi": 26000, "dev": True}),
            ("Datenlogger Kanal {n} Skalierung", "Data logger channel {n} scaling",
             {"lo": 0.001, "hi": 1000, "dec": 3, "dflt": 1, "dev": True}),
        ]),
        series("S60", [
            ("Zugriffsstufe Bedienfeld", "Keypad access level", {"lo": 0, "hi": 3, "dflt": 1}),
            ("Uhrzeit", "Time of day", {"text": 8, "ro": True, "dflt": "14:32:05"}),
            ("Datum", "Date", {"text": 10, "ro": True, "dflt": "2024-03-18"}),
        ], dev=True),
    ]
    return with_defaults(_flatten(rows), lvl=1)


HELP_PAGES = [
    ("kxs-options", "Optionssteckplätze",
     "<p>Das KXS-4 hat drei Steckplätze für Optionskarten. Die Bestückung wird beim Einschalten "
     "erkannt und kann nicht verändert werden.</p>"),
    ("kxs-current-loop", "Stromregler",
     "<p>Der Stromregler wird aus den Motordaten vorbelegt. Eine Anpassung ist nur bei Motoren mit "
     "stark sättigender Induktivität nötig.</p><p>Eine zu hohe Verstärkung erzeugt hochfrequentes "
     "Geräusch.</p>"),
    ("kxs-adaptation", "Drehzahlabhängige Verstärkung",
     "<p>Unterhalb der Adaptionsdrehzahl wird die Verstärkung des Drehzahlreglers auf den Wert "
     "<i>Verstärkung im Stillstand</i> geführt. So steht die Achse ruhiger, ohne die Dynamik bei "
     "Fahrt zu verlieren.</p>"),
    ("kxs-position-loop", "Lageregler",
     "<p>Der Lageregler ist ein P-Regler mit Vorsteuerung. Mit 100&nbsp;% Geschwindigkeitsvorsteuerung "
     "bleibt der Schleppfehler bei konstanter Fahrt nahezu null.</p><p>Der Kv-Faktor gibt an, "
     "mit welcher Geschwindigkeit (in 1/s) ein Lagefehler abgebaut wird.</p>"),
    ("kxs-notch", "Kerbfilter",
     "<p>Ein Kerbfilter dämpft eine mechanische Resonanz im Drehzahlregelkreis. Die Mittenfrequenz "
     "lässt sich mit dem Oszilloskop (Istmoment) bestimmen.</p><p>Breite Filter kosten "
     "Phasenreserve.</p>"),
    ("kxs-autotuning", "Selbsteinstellung",
     "<p>Die Selbsteinstellung bewegt die Achse einige Umdrehungen hin und her, ermittelt das "
     "Trägheitsverhältnis und stellt Drehzahl- und Lageregler ein.</p><p>Vorher Endschalter und "
     "Software-Endschalter prüfen.</p>"),
    ("kxs-commutation", "Kommutierung",
     "<p>Synchronmotoren brauchen die Lage des Rotorfelds. Bei Absolutgebern steht sie im Geber, "
     "sonst wird sie nach dem Einschalten gesucht.</p>"),
    ("kxs-brake", "Haltebremse",
     "<p>Die Bremse wird nach der Lüftzeit freigegeben und beim Sperren der Endstufe nach der "
     "Einfallzeit abgeschaltet. Zu kurze Zeiten lassen hängende Achsen absacken.</p>"),
    ("kxs-encoder", "Motorgeber",
     "<p>Der Motorgeber liefert Drehzahl und Lage. Bei Gebern mit elektronischem Typenschild werden "
     "Typ und Auflösung automatisch gelesen.</p>"),
    ("kxs-load-encoder", "Lastgeber",
     "<p>Die Achsen 1 und 2 können einen zweiten Geber an der Last auswerten. Die Abweichung zwischen "
     "Motor- und Lastgeber wird überwacht.</p>"),
    ("kxs-fault-reaction", "Störungsreaktionen",
     "<p>Für jedes überwachte Ereignis lässt sich die Reaktion wählen.</p><ul>"
     "<li><b>Austrudeln</b>: Endstufe sofort aus.</li><li><b>Schnellhalt</b>: Bremsen an der "
     "Schnellhaltrampe.</li><li><b>Rampe, dann sperren</b>: Bremsen an der Fahrrampe.</li></ul>"),
    ("kxs-braking-resistor", "Bremswiderstand",
     "<p>Beim Bremsen steigt die Zwischenkreisspannung. Über der Einschaltschwelle wird die Energie im "
     "Bremswiderstand in Wärme umgesetzt.</p>"),
    ("kxs-limit-switches", "Endschalter",
     "<p>Endschalter werden als Öffner empfohlen, damit ein Drahtbruch wie ein angefahrener Schalter "
     "wirkt.</p>"),
    ("kxs-sto", "Sichere Momentabschaltung",
     "<p>Die Sicherheitsabschaltung trennt die Ansteuerung der Endstufe zweikanalig. Der Motor "
     "erzeugt dann kein Moment mehr.</p><p>Die Diagnose zeigt, welcher Kanal abgeschaltet hat.</p>"),
    ("kxs-operating-modes", "Betriebsarten",
     "<p>Die Betriebsart bestimmt, welcher Sollwert die Achse führt: Drehzahl, Moment, Lage zyklisch "
     "vom Feldbus oder Fahrsätze im Gerät.</p>"),
    ("kxs-units", "Anwendereinheiten",
     "<p>Mit Vorschubkonstante und Getriebe rechnet das Gerät Motorumdrehungen in die Anwendereinheit "
     "um. Alle Lagen und Geschwindigkeiten der Gruppe M beziehen sich darauf.</p>"),
    ("kxs-software-limits", "Software-Endschalter",
     "<p>Fahraufträge über die Grenzen hinaus werden abgelehnt. Die Grenzen wirken nur, wenn die Achse "
     "referenziert ist, sofern das so eingestellt ist.</p>"),
    ("kxs-homing", "Referenzfahrt",
     "<p>Die Referenzfahrt stellt den Bezug zwischen Geberlage und Maschinenlage her. Bei Absolutgebern "
     "genügt <i>Istposition übernehmen</i> einmalig bei der Inbetriebnahme.</p>"),
    ("kxs-motion-blocks", "Fahrsätze",
     "<p>Das Gerät speichert 16 Fahrsätze aus Zielposition, Geschwindigkeit, Beschleunigung, "
     "Verweilzeit und Modus. Ein Fahrsatz kann einen Folgesatz starten.</p>"),
    ("kxs-gearing", "Elektronisches Getriebe und Kurvenscheibe",
     "<p>Die Achsen 2 bis 4 können einer Leitachse folgen, mit fester Übersetzung oder über eine "
     "Kurvenscheibe aus 16 Stützpunkten.</p>"),
    ("kxs-ethernet", "Ethernet-Schnittstelle",
     "<p>Die Ethernet-Schnittstelle dient der Inbetriebnahme und dem Webserver. Mit automatischem "
     "Adressbezug werden IP-Adresse, Netzmaske und Gateway ignoriert.</p>"),
    ("kxs-observer", "Lastmomentbeobachter",
     "<p>Der Beobachter schätzt das Lastmoment aus Strom und Drehzahl und schaltet es dem Stromsollwert "
     "auf. Laststöße werden so schneller ausgeregelt.</p><p>Eine zu große Bandbreite verstärkt das "
     "Geberrauschen.</p>"),
    ("kxs-oscilloscope", "Oszilloskop",
     "<p>Das Oszilloskop zeichnet bis zu vier Parameter im Takt der Abtastzeit auf. Die Kanalquellen "
     "sind Parameternummern.</p>"),
]


def _flatten(rows):
    out = []
    for row in rows:
        out.extend(row if isinstance(row, list) else [row])
    return out


def catalogue():
    params = shared_rows("servo") + identification() + control() + motor() + encoder() + faults() \
        + inputs_outputs() + motion() + network() + system()
    params.sort(key=lambda p: (p["coordinate"][0], int(p["coordinate"][1:])))
    pages = shared_help_pages() + [{"id": i, "title": t, "html": h} for i, t, h in HELP_PAGES]
    return {"name": NAME, "descriptor": DESCRIPTOR, "maxAxes": MAX_AXES, "helpPages": pages, "parameters": params}
