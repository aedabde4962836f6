"""Theme tables of the KXF-2 Inverter, a compact frequency inverter that
drives one motor or, with the second power stage fitted, two.

Only axis 1 has the pulse input and the process controller.
"""

from catalogue import array, described, el, family, header, record, series, simple, with_defaults
from themes_common import (CH_ANALOG_MODE, CH_REACTION, INPUT_NAMES, OUTPUT_NAMES,
                           shared_help_pages, shared_rows)

NAME = "KXF-2 Inverter"
DESCRIPTOR = "KXF-2 Inverter, 7,5 kW, 400 V, Firmware 1.8"
MAX_AXES = 2

CH_DI_FUNCTION = [
    (0, "Keine Funktion", "No function"),
    (1, "Start Rechtslauf", "Start clockwise"),
    (2, "Start Linkslauf", "Start counter-clockwise"),
    (3, "Festfrequenz Bit 0", "Fixed frequency bit 0"),
    (4, "Festfrequenz Bit 1", "Fixed frequency bit 1"),
    (5, "Festfrequenz Bit 2", "Fixed frequency bit 2"),
    (6, "Rampe 2 wählen", "Select ramp 2"),
    (7, "Externe Störung", "External fault"),
    (8, "Störung quittieren", "Acknowledge fault"),
    (9, "Motorpotentiometer auf", "Motor potentiometer up"),
    (10, "Motorpotentiometer ab", "Motor potentiometer down"),
    (11, "Motor 2 wählen", "Select motor 2"),
    (12, "Prozessregler aus", "Process controller off"),
]

CH_RELAY_FUNCTION = [
    (0, "Keine Funktion", "No function"),
    (1, "Betriebsbereit", "Ready"),
    (2, "In Betrieb", "Running"),
    (3, "Störung", "Fault"),
    (4, "Frequenz erreicht", "Frequency reached"),
    (5, "Stromgrenze aktiv", "Current limit active"),
    (6, "Schwellwertschalter 1", "Threshold switch 1"),
    (7, "Wartung fällig", "Maintenance due"),
]

CH_SETPOINT_SOURCE = [
    (0, "Bedienfeld", "Keypad"),
    (1, "Analogeingang AI1", "Analog input AI1"),
    (2, "Analogeingang AI2", "Analog input AI2"),
    (3, "Festfrequenzen", "Fixed frequencies"),
    (4, "Motorpotentiometer", "Motor potentiometer"),
    (5, "Feldbus", "Fieldbus"),
    (6, "Pulseingang", "Pulse input"),
    (7, "Prozessregler", "Process controller"),
]

CH_VF_CURVE = [(0, "Linear", "Linear"), (1, "Quadratisch", "Quadratic"), (2, "Frei (6 Punkte)", "Free (6 points)"),
               (3, "Energiesparend", "Energy saving")]

CH_PROCESS_SOURCE = [(0, "Parameter", "Parameter"), (1, "Analogeingang AI1", "Analog input AI1"),
                     (2, "Analogeingang AI2", "Analog input AI2"), (3, "Feldbus", "Fieldbus")]

CH_PARITY = [(0, "Keine", "None"), (1, "Gerade", "Even"), (2, "Ungerade", "Odd")]

CH_MODBUS_RATE = [(96, "9600 Bit/s", "9600 bit/s"), (192, "19200 Bit/s", "19200 bit/s"),
                  (384, "38400 Bit/s", "38400 bit/s"), (1152, "115200 Bit/s", "115200 bit/s")]


def identification():
    rows = [
        simple("A09", "Leistungsteil-Kennung", "Power unit code", dev=True, lo=0, hi=255, ro=True, dflt=75),
        simple("A111", "Gerätenennstrom", "Device rated current", dev=True, unit="A", lo=0, hi=200, dec=1,
               ro=True, dflt=16.5),
        simple("A112", "Gerätenennleistung", "Device rated power", dev=True, unit="kW", lo=0, hi=200, dec=2,
               ro=True, dflt=7.5),
        simple("A13", "Bootloader-Version", "Boot loader version", dev=True, text=16, ro=True, dflt="0.9"),
        simple("A16", "Inbetriebnahmedatum", "Commissioning date", dev=True, text=10, lvl=1),
        simple("A17", "Inbetriebnehmer", "Commissioned by", dev=True, text=32, lvl=1),
        simple("A130", "Baugröße", "Frame size", dev=True, choices=[
            (1, "Baugröße 1", "Frame size 1"), (2, "Baugröße 2", "Frame size 2"), (3, "Baugröße 3", "Frame size 3")],
            ro=True, dflt=2),
        simple("A131", "Zweites Leistungsteil", "Second power stage", dev=True, switch=True, ro=True, dflt=1,
               help="kxf-dual"),
        simple("A132", "Bedienfeld-Version", "Keypad version", dev=True, text=16, ro=True, dflt="2.0"),
        series("A133", [
            ("Seriennummer Leistungsteil", "Power stage serial number", {"text": 16, "dflt": "KFL-23-0871"}),
            ("Nennstrom Leistungsteil", "Power stage rated current", {"unit": "A", "lo": 0, "hi": 200, "dec": 1,
                                                                      "dflt": 16.5}),
            ("Betriebsstunden Leistungsteil", "Power stage operating hours", {"unit": "h", "lo": 0, "hi": 999999,
                                                                              "dec": 1, "dflt": 18102.3}),
        ], ro=True, lvl=1),
    ]
    return with_defaults(_flatten(rows), lvl=0)


def control():
    rows = [
        simple("C102", "Schlupfkompensation", "Slip compensation", unit="%", lo=0, hi=200, dec=1, dflt=100,
               ref=0, help="kxf-slip"),
        simple("C103", "Schlupfkompensation Filter", "Slip compensation filter", unit="ms", lo=1, hi=1000,
               dflt=50, help="kxf-slip", lvl=2),
        simple("C104", "Stromgrenze", "Current limit", unit="%", lo=10, hi=200, dflt=150),
        simple("C105", "Stromgrenzregler Verstärkung", "Current limit controller gain", unit="%", lo=0, hi=500,
               dflt=100, lvl=3, cat=1),
        simple("C106", "Kippschutz", "Stall prevention", switch=True, dflt=1),
        simple("C107", "Anlaufspannungsanhebung", "Starting voltage boost", unit="%", lo=0, hi=25, dec=1,
               dflt=3.0, help="kxf-vf"),
        simple("C108", "Anhebung bis Frequenz", "Boost up to frequency", unit="Hz", lo=0, hi=50, dec=1, dflt=10,
               help="kxf-vf"),
        simple("C109", "Energiesparbetrieb", "Energy saving mode", switch=True),
        simple("C112", "Drehzahl-Istwertfilter", "Speed feedback filter", unit="ms", lo=0, hi=100, dec=1,
               dflt=4, off=True),
        simple("C113", "Fangschaltung", "Flying restart", choices=[
            (0, "Aus", "Off"), (1, "Nach Netzausfall", "After mains loss"), (2, "Immer", "Always")],
            help="kxf-flying-restart"),
        simple("C114", "Fangschaltung Suchstrom", "Flying restart search current", unit="%", lo=10, hi=100,
               dflt=40, help="kxf-flying-restart", lvl=2),
        record("C115", "Gleichstrombremsung", "DC braking", [
            header("Gleichstrombremsung", "DC braking"),
            el("Aktiv", "Active", switch=True),
            el("Bremsstrom", "Braking current", unit="%", lo=0, hi=150, dflt=80),
            el("Bremszeit", "Braking time", unit="s", lo=0, hi=60, dec=1, dflt=2),
            el("Einsatzfrequenz", "Start frequency", unit="Hz", lo=0, hi=50, dec=1, dflt=1.5),
        ], help="kxf-dc-braking"),
        simple("C116", "Gleichstrom-Halten", "DC holding", unit="%", lo=0, hi=50, lvl=2),
        simple("C118", "Pendeldämpfung", "Oscillation damping", unit="%", lo=0, hi=100, dflt=20, lvl=2),
        simple("C119", "Magnetisierungsstrom", "Magnetising current", unit="%", lo=10, hi=100, dec=1, dflt=35,
               lvl=2, off=True),
        simple("C120", "Momentgrenze motorisch", "Motoring torque limit", unit="%", lo=0, hi=300, dflt=200,
               off=True),
        simple("C121", "Momentgrenze generatorisch", "Regenerative torque limit", unit="%", lo=0, hi=300,
               dflt=150, off=True),
        series("C123", [
            ("Istmoment", "Actual torque", {"unit": "%", "lo": -300, "hi": 300, "dec": 1, "dflt": 62.0}),
            ("Ausgangsfrequenz", "Output frequency", {"unit": "Hz", "lo": -600, "hi": 600, "dec": 2,
                                                      "dflt": 42.5}),
            ("Ausgangsstrom", "Output current", {"unit": "A", "lo": 0, "hi": 400, "dec": 2, "dflt": 11.85}),
            ("Ausgangsspannung", "Output voltage", {"unit": "V", "lo": 0, "hi": 800, "dflt": 342}),
            ("Ausgangsleistung", "Output power", {"unit": "kW", "lo": -200, "hi": 200, "dec": 2, "dflt": 5.12}),
            ("Motordrehzahl", "Motor speed", {"unit": "1/min", "lo": -36000, "hi": 36000, "dflt": 1238}),
            ("Energiezähler", "Energy counter", {"unit": "kWh", "lo": 0, "hi": 9999999, "dec": 1,
                                                  "dflt": 48211.7}),
        ], ro=True, lvl=0),
        series("C140", [
            ("Drehzahlregler Verstärkung oben", "Speed controller gain, upper range",
             {"unit": "%", "lo": 0, "hi": 2000, "dec": 1, "dflt": 20}),
            ("Drehzahlregler Nachstellzeit oben", "Speed controller integral time, upper range",
             {"unit": "ms", "lo": 0.1, "hi": 2000, "dec": 1, "dflt": 200}),
            ("Umschaltfrequenz Reglerverstärkung", "Controller gain changeover frequency",
             {"unit": "Hz", "lo": 0, "hi": 600, "dec": 1, "dflt": 35}),
            ("Momentenvorsteuerung", "Torque feedforward", {"unit": "%", "lo": 0, "hi": 200, "dflt": 0}),
            ("Flussregler Verstärkung", "Flux controller gain", {"unit": "%", "lo": 0, "hi": 500, "dflt": 100,
                                                                 "lvl": 3, "cat": 1}),
            ("Flussregler Nachstellzeit", "Flux controller integral time", {"unit": "ms", "lo": 1, "hi": 2000,
                                                                            "dflt": 60, "lvl": 3, "cat": 1}),
            ("Stromregler Verstärkung", "Current controller gain", {"unit": "%", "lo": 0, "hi": 500, "dflt": 100,
                                                                    "lvl": 3, "cat": 1}),
            ("Stromregler Nachstellzeit", "Current controller integral time", {"unit": "ms", "lo": 0.1, "hi": 100,
                                                                               "dec": 1, "dflt": 5, "lvl": 3,
                                                                               "cat": 1}),
        ], off=True, lvl=2, help="kxf-vector"),
        simple("C130", "Motoridentifikation Modus", "Motor identification mode", choices=[
            (0, "Aus", "Off"), (1, "Im Stillstand", "At standstill"), (2, "Mit Drehung", "With rotation")],
            cat=1, help="kxf-identification"),
        simple("C131", "Motoridentifikation starten", "Start motor identification", switch=True, cat=1,
               help="kxf-identification"),
        simple("C132", "Ergebnis Motoridentifikation", "Motor identification result", choices=[
            (0, "Nicht ausgeführt", "Not run"), (1, "Erfolgreich", "Successful"), (2, "Abgebrochen", "Aborted")],
            ro=True, dflt=1, help="kxf-identification"),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def motor():
    rows = [
        simple("D107", "Motorart", "Motor kind", choices=[
            (0, "Asynchronmotor", "Induction motor"), (1, "Synchronmotor mit Magneten", "Permanent magnet motor"),
            (2, "Reluktanzmotor", "Reluctance motor")]),
        simple("D108", "Motornennfrequenz", "Motor rated frequency", unit="Hz", lo=10, hi=600, dec=1, dflt=50),
        simple("D109", "Leistungsfaktor", "Power factor", lo=0.3, hi=1, dec=2, dflt=0.82),
        simple("D111", "Leerlaufstrom", "No-load current", unit="A", lo=0, hi=120, dec=2, dflt=5.4, lvl=2),
        simple("D112", "Ständerwiderstand", "Stator resistance", unit="Ω", lo=0.001, hi=100, dec=3, dflt=0.62,
               lvl=2, help="kxf-identification"),
        simple("D113", "Läuferwiderstand", "Rotor resistance", unit="Ω", lo=0.001, hi=100, dec=3, dflt=0.48,
               lvl=2, help="kxf-identification"),
        simple("D114", "Streuinduktivität", "Leakage inductance", unit="mH", lo=0.01, hi=500, dec=2, dflt=4.1,
               lvl=2, help="kxf-identification"),
        simple("D115", "Hauptinduktivität", "Main inductance", unit="mH", lo=1, hi=5000, dec=1, dflt=112,
               lvl=2, help="kxf-identification"),
        simple("D116", "Motorschaltung", "Motor connection", choices=[(0, "Stern", "Star"), (1, "Dreieck", "Delta")],
               dflt=1),
        simple("D117", "Motorkühlung", "Motor cooling", choices=[
            (0, "Eigenbelüftet", "Self-ventilated"), (1, "Fremdbelüftet", "Forced ventilation")]),
        simple("D18", "Thermische Zeitkonstante", "Thermal time constant", unit="s", lo=1, hi=7200, dflt=900,
               lvl=2),
        record("D119", "Motorschutzkennlinie", "Motor protection curve", [
            header("Motorschutz", "Motor protection"),
            el("Dauerstrom bei 0 Hz", "Continuous current at 0 Hz", unit="%", lo=10, hi=100, dflt=40),
            el("Eckfrequenz", "Corner frequency", unit="Hz", lo=1, hi=100, dflt=25),
            el("Dauerstrom über Eckfrequenz", "Continuous current above corner", unit="%", lo=10, hi=150,
               dflt=100),
            el("Reaktion", "Reaction", choices=CH_REACTION, dflt=4),
        ], help="kxf-motor-protection"),
        simple("D120", "Motortemperatur Warnschwelle", "Motor temperature warning threshold", unit="°C", lo=0,
               hi=200, dflt=130),
        simple("D121", "Motortemperatur Abschaltschwelle", "Motor temperature trip threshold", unit="°C", lo=0,
               hi=200, dflt=150),
        simple("D122", "Motorauslastung", "Motor load", unit="%", lo=0, hi=300, dec=1, ro=True, dflt=76.0),
        record("D130", "Motordatensatz 2", "Motor data set 2", [
            header("Motor 2", "Motor 2"),
            el("Nennstrom", "Rated current", unit="A", lo=0.1, hi=120, dec=2, dflt=7.8),
            el("Nenndrehzahl", "Rated speed", unit="1/min", lo=100, hi=12000, dflt=1440),
            el("Nennspannung", "Rated voltage", unit="V", lo=24, hi=690, dflt=400),
            el("Nennfrequenz", "Rated frequency", unit="Hz", lo=10, hi=600, dec=1, dflt=50),
            el("Leistungsfaktor", "Power factor", lo=0.3, hi=1, dec=2, dflt=0.8),
            el("Motorschaltung", "Connection", choices=[(0, "Stern", "Star"), (1, "Dreieck", "Delta")]),
            el("Im Einsatz", "In use", switch=True, ro=True),
        ], axes=[1], lvl=2, help="kxf-motor2"),
        simple("D131", "Umschaltung Motor 2", "Motor 2 changeover", choices=[
            (0, "Gesperrt", "Disabled"), (1, "Über Digitaleingang", "Via digital input"),
            (2, "Über Feldbus", "Via fieldbus")], axes=[1], help="kxf-motor2"),
        record("D145", "Bremsenansteuerung", "Brake control", [
            header("Bremsenansteuerung", "Brake control"),
            el("Aktiv", "Active", switch=True),
            el("Öffnungsfrequenz", "Release frequency", unit="Hz", lo=0, hi=20, dec=1, dflt=2.5),
            el("Schließfrequenz", "Engage frequency", unit="Hz", lo=0, hi=20, dec=1, dflt=1.5),
            el("Öffnungsverzögerung", "Release delay", unit="s", lo=0, hi=5, dec=2, dflt=0.3),
            el("Mindeststrom", "Minimum current", unit="%", lo=0, hi=100, dflt=30),
        ], lvl=2, help=described("<p>Steuert eine mechanische Bremse über ein Relais. Die Bremse öffnet "
                                 "erst, wenn der Motor den Mindeststrom führt, damit hängende Lasten nicht "
                                 "absacken.</p>")),
        series("D146", [
            ("Umgebungstemperatur Motor", "Motor ambient temperature", {"unit": "°C", "lo": -20, "hi": 60,
                                                                        "dflt": 40}),
            ("Fühlerkennlinie Abgleich", "Sensor curve trim", {"unit": "°C", "lo": -20, "hi": 20, "dec": 1}),
            ("Motorstrom Effektivwert", "Motor current RMS", {"unit": "A", "lo": 0, "hi": 400, "dec": 2,
                                                              "ro": True, "dflt": 11.2}),
            ("Motorlaufzeit", "Motor run time", {"unit": "h", "lo": 0, "hi": 999999, "ro": True, "dflt": 15533}),
        ], lvl=2),
    ]
    return with_defaults(_flatten(rows), lvl=1)


FAULT_EVENTS = [
    ("Motorübertemperatur", "motor overtemperature", 4),
    ("Gerätetemperatur", "device temperature", 4),
    ("Kommunikationsausfall", "communication loss", 4),
    ("Netzphasenausfall", "mains phase loss", 1),
    ("Motorphasenausfall", "motor phase loss", 2),
    ("Unterlast", "underload", 1),
    ("Kippen", "stall", 2),
    ("Analogsignal fehlt", "analog signal lost", 1),
    ("Externe Störung", "external fault", 2),
    ("Lüfterfehler", "fan fault", 1),
]


def faults():
    reactions = [("Reaktion %s" % de, "Reaction to %s" % en, {"dflt": d}) for de, en, d in FAULT_EVENTS]
    reactions[2][2]["ref"] = 3
    rows = [
        simple("F03", "Störung Zusatzinformation", "Fault detail", lo=0, hi=65535, ro=True, lvl=2),
        simple("F04", "Anstehende Warnungen", "Pending warnings", lo=0, hi=65535, ro=True, dflt=4),
        simple("F05", "Störung quittieren", "Acknowledge fault", switch=True, help="flt-overview"),
        array("F08", "Störungsspeicher Zeitpunkt", "Fault memory time stamp", 8,
              names=("Eintrag {n}", "Entry {n}"), unit="h", lo=0, hi=999999, dec=1, ro=True, dev=True,
              dflts=[18120.4, 17002.0, 12455.9, 402.1, 0, 0, 0, 0], help="flt-overview"),
        simple("F14", "Unterspannungsschwelle", "Undervoltage threshold", dev=True, unit="V", lo=200, hi=600,
               dflt=380, lvl=2),
        simple("F16", "Kühlkörper Warnschwelle", "Heat sink warning threshold", dev=True, unit="°C", lo=40,
               hi=95, dflt=85, lvl=2),
        series("F20", reactions, choices=CH_REACTION, help="kxf-fault-reaction"),
        record("F130", "Unterlasterkennung", "Underload detection", [
            header("Unterlast", "Underload"),
            el("Aktiv", "Active", switch=True),
            el("Momentenschwelle", "Torque threshold", unit="%", lo=0, hi=100, dflt=15),
            el("Ab Frequenz", "From frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=20),
            el("Verzögerung", "Delay", unit="s", lo=0, hi=600, dflt=10),
        ], help=described("<p>Erkennt einen gerissenen Riemen oder eine trocken laufende Pumpe: das "
                          "Moment bleibt oberhalb der Frequenzschwelle länger als die Verzögerung "
                          "unter der Momentenschwelle.</p>")),
        simple("F140", "Automatischer Wiederanlauf", "Automatic restart", switch=True, help="kxf-auto-restart"),
        simple("F141", "Wiederanlaufversuche", "Restart attempts", lo=1, hi=10, dflt=3, off=True,
               help="kxf-auto-restart"),
        simple("F142", "Wartezeit Wiederanlauf", "Restart delay", unit="s", lo=1, hi=600, dflt=10, off=True,
               help="kxf-auto-restart"),
        simple("F150", "Wartungsintervall", "Maintenance interval", dev=True, unit="h", lo=0, hi=100000,
               dflt=8000, ref=0, help="kxf-maintenance"),
        simple("F151", "Zeit bis Wartung", "Time to maintenance", dev=True, unit="h", lo=-100000, hi=100000,
               ro=True, dflt=-342, help="kxf-maintenance"),
        simple("F152", "Wartung quittieren", "Acknowledge maintenance", dev=True, switch=True, cat=1,
               help="kxf-maintenance"),
        simple("F153", "Störungsspeicher löschen", "Clear fault memory", dev=True, switch=True, lvl=3, cat=1),
        array("F161", "Störungszähler", "Fault counters", 10,
              names=[(de, en.capitalize()) for de, en, _ in FAULT_EVENTS], lo=0, hi=65535, ro=True, dev=True,
              dflts=[0, 1, 0, 4, 0, 0, 1, 2, 9, 0], lvl=2),
        simple("F162", "Lüfterdrehzahl", "Fan speed", dev=True, unit="1/min", lo=0, hi=10000, ro=True, dflt=4200,
               lvl=2),
        series("F170", [
            ("Energiezähler zurücksetzen", "Reset energy counter", {"switch": True, "cat": 1, "lvl": 2}),
            ("Energie laufender Tag", "Energy current day", {"unit": "kWh", "lo": 0, "hi": 999999, "dec": 1,
                                                             "ro": True, "dflt": 61.4}),
            ("Energie Vortag", "Energy previous day", {"unit": "kWh", "lo": 0, "hi": 999999, "dec": 1,
                                                       "ro": True, "dflt": 118.9}),
            ("Energie laufender Monat", "Energy current month", {"unit": "kWh", "lo": 0, "hi": 999999, "dec": 1,
                                                                 "ro": True, "dflt": 2077.3}),
            ("Energiepreis", "Energy price", {"unit": "ct/kWh", "lo": 0, "hi": 1000, "dec": 2, "dflt": 21.5}),
            ("Währungskürzel", "Currency symbol", {"text": 4, "dflt": "EUR"}),
            ("Einsparung gegenüber Netzbetrieb", "Savings compared with mains operation",
             {"unit": "kWh", "lo": 0, "hi": 9999999, "dec": 1, "ro": True, "dflt": 9912.0}),
            ("Emissionsfaktor", "Emission factor", {"unit": "kg/kWh", "lo": 0, "hi": 2, "dec": 3, "dflt": 0.38}),
        ], dev=True, lvl=1, help="kxf-energy"),
    ]
    return with_defaults(_flatten(rows), lvl=0)


def inputs_outputs():
    rows = [
        array("I10", "Funktion Digitaleingänge", "Digital input functions", 8, names=INPUT_NAMES, dev=True,
              choices=CH_DI_FUNCTION, dflts=[1, 2, 3, 4, 8, 7, 0, 0], help="io-digital"),
        array("I11", "Digitaleingänge invertieren", "Invert digital inputs", 8, names=INPUT_NAMES, dev=True,
              switch=True, dflts=[0, 0, 0, 0, 0, 1, 0, 0], lvl=2),
        array("I120", "Funktion Relais- und Digitalausgänge", "Relay and digital output functions", 4,
              names=[("Relais K1", "Relay K1"), ("Relais K2", "Relay K2"), OUTPUT_NAMES[2], OUTPUT_NAMES[3]],
              dev=True, choices=CH_RELAY_FUNCTION, dflts=[3, 2, 4, 0], refs=[3, 1, 0, 0], help="io-digital"),
        array("I121", "Einschaltverzögerung Ausgänge", "Output switch-on delay", 4,
              names=[("Relais K1", "Relay K1"), ("Relais K2", "Relay K2"), OUTPUT_NAMES[2], OUTPUT_NAMES[3]],
              dev=True, unit="s", lo=0, hi=300, dec=1, lvl=2),
        array("I122", "Ausschaltverzögerung Ausgänge", "Output switch-off delay", 4,
              names=[("Relais K1", "Relay K1"), ("Relais K2", "Relay K2"), OUTPUT_NAMES[2], OUTPUT_NAMES[3]],
              dev=True, unit="s", lo=0, hi=300, dec=1, lvl=2),
        record("I31", "Analogeingang AI2", "Analog input AI2", [
            header("Analogeingang AI2", "Analog input AI2"),
            el("Betriebsart", "Mode", choices=CH_ANALOG_MODE, dflt=3),
            el("Offset", "Offset", unit="V", lo=-1, hi=1, dec=3),
            el("Verstärkung", "Gain", unit="%", lo=-400, hi=400, dec=1, dflt=100),
            el("Filterzeit", "Filter time", unit="ms", lo=0, hi=500, dec=1, dflt=50),
            el("Istwert", "Actual value", unit="%", lo=-100, hi=100, dec=1, ro=True, dflt=41.2),
        ], dev=True, help="io-analog"),
        record("I132", "Analogausgang AO1", "Analog output AO1", [
            header("Analogausgang AO1", "Analog output AO1"),
            el("Quelle", "Source", choices=[(0, "Aus", "Off"), (1, "Ausgangsfrequenz", "Output frequency"),
                                            (2, "Ausgangsstrom", "Output current"),
                                            (3, "Ausgangsleistung", "Output power")], dflt=1),
            el("Betriebsart", "Mode", choices=[(1, "0 … 10 V", "0 … 10 V"), (3, "4 … 20 mA", "4 … 20 mA")], dflt=1),
            el("Skalierung", "Scaling", unit="%", lo=-1000, hi=1000, dec=1, dflt=100),
        ], dev=True, lvl=2),
        record("I140", "Pulseingang", "Pulse input", [
            header("Pulseingang DI6", "Pulse input DI6"),
            el("Aktiv", "Active", switch=True),
            el("Maximalfrequenz", "Maximum frequency", unit="kHz", lo=0.1, hi=100, dec=1, dflt=10),
            el("Skalierung", "Scaling", unit="%", lo=0, hi=1000, dec=1, dflt=100),
            el("Istfrequenz", "Actual frequency", unit="kHz", lo=0, hi=100, dec=2, ro=True),
        ], axes=[1], lvl=2, help=described("<p>Wertet Pulse an DI6 als Sollwert aus. Bei aktivem "
                                            "Pulseingang hat DI6 keine andere Funktion.</p>")),
        record("I150", "Motorpotentiometer", "Motor potentiometer", [
            header("Motorpotentiometer", "Motor potentiometer"),
            el("Untergrenze", "Lower limit", unit="Hz", lo=0, hi=600, dec=1),
            el("Obergrenze", "Upper limit", unit="Hz", lo=0, hi=600, dec=1, dflt=50),
            el("Rampenzeit", "Ramp time", unit="s", lo=0.1, hi=600, dec=1, dflt=10),
            el("Wert speichern", "Store value", switch=True, dflt=1),
            el("Aktueller Wert", "Current value", unit="Hz", lo=0, hi=600, dec=1, ro=True, dflt=35),
        ], help="kxf-motorpot"),
        family("I160", 4, [
            ("Schwellwertschalter {n} Quelle", "Threshold switch {n} source",
             {"choices": [(0, "Aus", "Off"), (1, "Ausgangsfrequenz", "Output frequency"),
                          (2, "Ausgangsstrom", "Output current"), (3, "Istmoment", "Actual torque"),
                          (4, "Prozess-Istwert", "Process actual value")]}),
            ("Schwellwertschalter {n} Einschaltschwelle", "Threshold switch {n} on level",
             {"unit": "%", "lo": -300, "hi": 300, "dec": 1, "dflt": 50}),
            ("Schwellwertschalter {n} Ausschaltschwelle", "Threshold switch {n} off level",
             {"unit": "%", "lo": -300, "hi": 300, "dec": 1, "dflt": 45}),
            ("Schwellwertschalter {n} Verzögerung", "Threshold switch {n} delay",
             {"unit": "s", "lo": 0, "hi": 600, "dec": 1}),
        ]),
        family("I180", 4, [
            ("Zeitglied {n} Eingang", "Timer {n} input",
             {"choices": [(0, "Aus", "Off")] + [(n, "DI%d" % n, "DI%d" % n) for n in range(1, 9)]}),
            ("Zeitglied {n} Art", "Timer {n} mode",
             {"choices": [(0, "Einschaltverzögert", "On delay"), (1, "Ausschaltverzögert", "Off delay"),
                          (2, "Impuls", "Pulse")]}),
            ("Zeitglied {n} Zeit", "Timer {n} time", {"unit": "s", "lo": 0, "hi": 3600, "dec": 1, "dflt": 1}),
        ]),
        family("I200", 4, [
            ("Logikbaustein {n} Funktion", "Logic block {n} function",
             {"choices": [(0, "Aus", "Off"), (1, "UND", "AND"), (2, "ODER", "OR"), (3, "EXKLUSIV-ODER", "XOR"),
                          (4, "NICHT A", "NOT A")]}),
            ("Logikbaustein {n} Eingang A", "Logic block {n} input A",
             {"choices": [(0, "Aus", "Off")] + [(n, "DI%d" % n, "DI%d" % n) for n in range(1, 9)]}),
            ("Logikbaustein {n} Eingang B", "Logic block {n} input B",
             {"choices": [(0, "Aus", "Off")] + [(n, "DI%d" % n, "DI%d" % n) for n in range(1, 9)]}),
            ("Logikbaustein {n} Ausgang", "Logic block {n} output", {"switch": True, "ro": True}),
        ]),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def network():
    rows = [
        simple("N104", "Protokoll", "Protocol", dev=True, choices=[
            (0, "Bus-Protokoll KxBus RTU", "KxBus RTU protocol"), (1, "Bus-Protokoll KxBus ASCII",
                                                                  "KxBus ASCII protocol"),
            (2, "CAN", "CAN")], dflt=0, help="kxf-serial"),
        simple("N105", "Übertragungsrate seriell", "Serial baud rate", dev=True, choices=CH_MODBUS_RATE, dflt=192,
               help="kxf-serial"),
        simple("N106", "Parität", "Parity", dev=True, choices=CH_PARITY, dflt=1, help="kxf-serial"),
        simple("N107", "Stoppbits", "Stop bits", dev=True, lo=1, hi=2, dflt=1, help="kxf-serial"),
        simple("N108", "Antwortverzögerung", "Response delay", dev=True, unit="ms", lo=0, hi=200, dflt=5, lvl=2),
        simple("N14", "Reaktion Kommunikationsfehler", "Communication fault reaction", choices=CH_REACTION,
               dflt=4),
        simple("N15", "Empfangene Telegramme", "Received telegrams", dev=True, lo=0, hi=4294967295, ro=True,
               dflt=881290),
        simple("N16", "Fehlerhafte Telegramme", "Faulty telegrams", dev=True, lo=0, hi=4294967295, ro=True,
               dflt=17),
        simple("N23", "Sollwert Feldbus", "Fieldbus setpoint", unit="%", lo=-200, hi=200, dec=2, ro=True),
        simple("N24", "Feldbus-Sollwert Bezug", "Fieldbus setpoint reference", unit="Hz", lo=1, hi=600, dec=1,
               dflt=50),
        array("N25", "Feldbus Zusatzdaten", "Fieldbus additional data", 4, names=("Wort {n}", "Word {n}"), lo=0,
              hi=65535, ro=True, dev=True, lvl=2),
        simple("N26", "Feldbus Freigabe erforderlich", "Fieldbus enable required", switch=True, dflt=1),
        family("N140", 4, [
            ("Feldbus-Istwert {n} Quelle", "Fieldbus actual value {n} source",
             {"choices": [(0, "Aus", "Off"), (1, "Ausgangsfrequenz", "Output frequency"),
                          (2, "Ausgangsstrom", "Output current"), (3, "Istmoment", "Actual torque"),
                          (4, "Prozess-Istwert", "Process actual value"), (5, "Störungscode", "Fault code")]}),
            ("Feldbus-Sollwert {n} Ziel", "Fieldbus setpoint {n} target",
             {"choices": [(0, "Aus", "Off"), (1, "Hauptsollwert", "Main setpoint"),
                          (2, "Zusatzsollwert", "Additional setpoint"), (3, "Momentgrenze", "Torque limit"),
                          (4, "Prozess-Sollwert", "Process setpoint")]}),
        ], ),
    ]
    return with_defaults(_flatten(rows), lvl=2)


def process_controller():
    rows = [
        simple("P01", "Prozessregler", "Process controller", switch=True, lvl=0),
        simple("P02", "Quelle Prozess-Sollwert", "Process setpoint source", choices=CH_PROCESS_SOURCE),
        simple("P03", "Quelle Prozess-Istwert", "Process actual value source", choices=CH_PROCESS_SOURCE, dflt=2),
        simple("P04", "Prozessregler Verstärkung", "Process controller gain", lo=0, hi=100, dec=2, dflt=1.5,
               ref=1.0),
        simple("P05", "Prozessregler Nachstellzeit", "Process controller integral time", unit="s", lo=0,
               hi=1000, dec=2, dflt=3),
        simple("P06", "Prozessregler Vorhaltzeit", "Process controller derivative time", unit="s", lo=0, hi=100,
               dec=2),
        simple("P07", "Ausgang Obergrenze", "Output upper limit", unit="%", lo=-100, hi=100, dflt=100),
        simple("P08", "Ausgang Untergrenze", "Output lower limit", unit="%", lo=-100, hi=100),
        simple("P09", "Prozess-Sollwert", "Process setpoint", unit="%", lo=-100, hi=100, dec=1, dflt=50),
        array("P10", "Prozess-Festsollwerte", "Fixed process setpoints", 4,
              names=("Festsollwert {n}", "Fixed setpoint {n}"), unit="%", lo=-100, hi=100, dec=1,
              dflts=[50, 60, 70, 30]),
        record("P11", "Istwert-Skalierung", "Actual value scaling", [
            header("Skalierung Istwert", "Actual value scaling"),
            el("Einheit", "Unit", text=8, dflt="bar"),
            el("Wert bei 0 %", "Value at 0 %", lo=-10000, hi=10000, dec=2),
            el("Wert bei 100 %", "Value at 100 %", lo=-10000, hi=10000, dec=2, dflt=10),
            el("Nachkommastellen", "Decimals", lo=0, hi=3, dflt=2),
        ], help="kxf-process-scaling"),
        record("P12", "Schlaffunktion", "Sleep function", [
            header("Schlaffunktion", "Sleep function"),
            el("Aktiv", "Active", switch=True),
            el("Schlaffrequenz", "Sleep frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=15),
            el("Verzögerung", "Delay", unit="s", lo=0, hi=3600, dflt=30),
            el("Aufwachabweichung", "Wake-up deviation", unit="%", lo=0, hi=100, dec=1, dflt=5),
        ], help="kxf-sleep"),
        series("P13", [
            ("Prozess-Istwert", "Process actual value", {"dflt": 48.2}),
            ("Prozess-Sollwert wirksam", "Effective process setpoint", {"dflt": 50}),
            ("Regelabweichung", "Control deviation", {"dflt": 1.8}),
            ("Prozessregler Ausgang", "Process controller output", {"dflt": 71.0}),
        ], unit="%", lo=-200, hi=200, dec=1, ro=True, lvl=0),
        simple("P17", "Wirkrichtung umkehren", "Invert control direction", switch=True),
        simple("P18", "Integrator zurücksetzen", "Reset integrator", switch=True, cat=1),
        record("P20", "Pumpenkaskade", "Pump cascade", [
            header("Pumpenkaskade", "Pump cascade"),
            el("Anzahl Zusatzpumpen", "Number of auxiliary pumps", lo=0, hi=4),
            el("Zuschaltfrequenz", "Switch-on frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=48),
            el("Abschaltfrequenz", "Switch-off frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=25),
            el("Wechselintervall", "Rotation interval", unit="h", lo=0, hi=1000, dflt=24),
        ], off=True, lvl=2, help="kxf-cascade"),
        array("P21", "Pumpen-Laufzeiten", "Pump run times", 4, names=("Pumpe {n}", "Pump {n}"), unit="h",
              lo=0, hi=999999, ro=True, dflts=[4120, 3980, 0, 0], lvl=2, help="kxf-cascade"),
        record("P22", "Trockenlaufschutz", "Dry-run protection", [
            header("Trockenlaufschutz", "Dry-run protection"),
            el("Aktiv", "Active", switch=True),
            el("Istwertschwelle", "Actual value threshold", unit="%", lo=0, hi=100, dec=1, dflt=5),
            el("Verzögerung", "Delay", unit="s", lo=0, hi=600, dflt=20),
        ], lvl=1),
        simple("P23", "Füllzeit", "Filling time", unit="s", lo=0, hi=600, dflt=0, lvl=2,
               help=described("<p>Beim Start läuft die Pumpe diese Zeit mit der Minimalfrequenz, bevor der "
                              "Prozessregler übernimmt. So werden leere Leitungen langsam gefüllt.</p>")),
        series("P30", [
            ("Externer Regler", "External controller", {"switch": True, "lvl": 1}),
            ("Externer Regler Sollwertquelle", "External controller setpoint source",
             {"choices": CH_PROCESS_SOURCE}),
            ("Externer Regler Istwertquelle", "External controller actual value source",
             {"choices": CH_PROCESS_SOURCE, "dflt": 1}),
            ("Externer Regler Verstärkung", "External controller gain", {"lo": 0, "hi": 100, "dec": 2, "dflt": 1}),
            ("Externer Regler Nachstellzeit", "External controller integral time",
             {"unit": "s", "lo": 0, "hi": 1000, "dec": 2, "dflt": 10}),
            ("Externer Regler Vorhaltzeit", "External controller derivative time",
             {"unit": "s", "lo": 0, "hi": 100, "dec": 2}),
            ("Externer Regler Ausgang Obergrenze", "External controller output upper limit",
             {"unit": "%", "lo": -100, "hi": 100, "dflt": 100}),
            ("Externer Regler Ausgang Untergrenze", "External controller output lower limit",
             {"unit": "%", "lo": -100, "hi": 100}),
            ("Externer Regler Sollwert", "External controller setpoint", {"unit": "%", "lo": -100, "hi": 100,
                                                                          "dec": 1}),
            ("Externer Regler Istwert", "External controller actual value",
             {"unit": "%", "lo": -200, "hi": 200, "dec": 1, "ro": True}),
            ("Externer Regler Ausgang", "External controller output",
             {"unit": "%", "lo": -200, "hi": 200, "dec": 1, "ro": True}),
        ], off=True, lvl=2, help="kxf-external-controller"),
    ]
    rows = _flatten(rows)
    for row in rows:
        row.setdefault("definedIn", [1])
    return with_defaults(rows, lvl=1)


def ramps_setpoints():
    rows = [
        simple("R01", "Minimalfrequenz", "Minimum frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=0, ref=0,
               help="kxf-ramps"),
        simple("R02", "Maximalfrequenz", "Maximum frequency", unit="Hz", lo=1, hi=600, dec=1, dflt=50,
               help="kxf-ramps"),
        series("R03", [
            ("Hochlaufzeit 1", "Acceleration time 1", {"dflt": 5}),
            ("Rücklaufzeit 1", "Deceleration time 1", {"dflt": 5}),
            ("Hochlaufzeit 2", "Acceleration time 2", {"dflt": 10}),
            ("Rücklaufzeit 2", "Deceleration time 2", {"dflt": 10}),
        ], unit="s", lo=0.1, hi=3600, dec=1, help="kxf-ramps"),
        simple("R07", "S-Verrundung", "S-curve rounding", unit="%", lo=0, hi=100, dflt=20, ref=0, help="kxf-ramps"),
        simple("R08", "Umschaltfrequenz Rampe 2", "Ramp 2 changeover frequency", unit="Hz", lo=0, hi=600, dec=1,
               help="kxf-ramps", lvl=2),
        simple("R09", "Schnellhaltzeit", "Quick stop time", unit="s", lo=0.1, hi=60, dec=1, dflt=1),
        array("R10", "Festfrequenzen", "Fixed frequencies", 8, names=("Festfrequenz {n}", "Fixed frequency {n}"),
              unit="Hz", lo=-600, hi=600, dec=1, dflts=[5, 10, 20, 30, 35, 40, 45, 50], help="kxf-fixed-frequencies"),
        record("R11", "Ausblendfrequenzen", "Skip frequencies", [
            header("Ausblendbereiche", "Skip bands"),
            el("Frequenz 1", "Frequency 1", unit="Hz", lo=0, hi=600, dec=1),
            el("Frequenz 2", "Frequency 2", unit="Hz", lo=0, hi=600, dec=1),
            el("Frequenz 3", "Frequency 3", unit="Hz", lo=0, hi=600, dec=1),
            el("Bandbreite", "Bandwidth", unit="Hz", lo=0, hi=20, dec=1, dflt=2),
        ], lvl=2, help=described("<p>Frequenzen, bei denen die Anlage mechanisch schwingt, werden im "
                                 "Dauerbetrieb übersprungen. 0 Hz schaltet einen Bereich aus.</p>")),
        simple("R12", "Drehrichtung", "Direction of rotation", choices=[
            (0, "Beide", "Both"), (1, "Nur rechts", "Clockwise only"), (2, "Nur links", "Counter-clockwise only")]),
        simple("R13", "Startverhalten", "Start behaviour", choices=[
            (0, "Normal", "Normal"), (1, "Mit Fangschaltung", "With flying restart"),
            (2, "Mit Gleichstrombremsung", "With DC braking")]),
        simple("R14", "Stoppverhalten", "Stop behaviour", choices=[
            (0, "Rampe", "Ramp"), (1, "Austrudeln", "Coast"), (2, "Gleichstrombremsung", "DC braking")]),
        simple("R15", "Quelle Hauptsollwert", "Main setpoint source", choices=CH_SETPOINT_SOURCE, dflt=1, ref=0,
               help="kxf-setpoints", lvl=0),
        simple("R16", "Quelle Zusatzsollwert", "Additional setpoint source",
               choices=[(-1, "Kein Zusatzsollwert", "No additional setpoint")] + CH_SETPOINT_SOURCE, dflt=-1,
               help="kxf-setpoints"),
        simple("R17", "Sollwert Bedienfeld", "Keypad setpoint", unit="Hz", lo=-600, hi=600, dec=1, dflt=25),
        simple("R18", "Tippfrequenz", "Jog frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=5),
        simple("R19", "Tipprampe", "Jog ramp", unit="s", lo=0.1, hi=600, dec=1, dflt=2),
        simple("R20", "Frequenzsollwert", "Frequency setpoint", unit="Hz", lo=-600, hi=600, dec=2, ro=True,
               dflt=42.5, lvl=0),
        simple("R21", "Anlaufverzögerung", "Start delay", unit="s", lo=0, hi=60, dec=1, lvl=2),
        simple("R22", "Frequenz erreicht Band", "Frequency reached band", unit="Hz", lo=0, hi=20, dec=1, dflt=1),
        simple("R23", "Halten bei Frequenz", "Hold at frequency", unit="Hz", lo=0, hi=600, dec=1, lvl=2),
        simple("R24", "Haltezeit", "Hold time", unit="s", lo=0, hi=60, dec=1, lvl=2),
        series("R25", [
            ("Sollwert-Offset", "Setpoint offset", {"unit": "Hz", "lo": -50, "hi": 50, "dec": 1}),
            ("Sollwert-Skalierung", "Setpoint scaling", {"unit": "%", "lo": 0, "hi": 400, "dec": 1, "dflt": 100}),
            ("Negative Sollwerte sperren", "Block negative setpoints", {"switch": True, "dflt": 1}),
            ("Sollwertfilter", "Setpoint filter", {"unit": "ms", "lo": 0, "hi": 1000, "dflt": 10}),
        ]),
        record("R30", "Notbetrieb", "Emergency operation", [
            header("Notbetrieb", "Emergency operation"),
            el("Aktiv", "Active", switch=True),
            el("Eingang", "Input", choices=[(0, "Aus", "Off")] + [(n, "DI%d" % n, "DI%d" % n) for n in range(1, 9)]),
            el("Frequenz", "Frequency", unit="Hz", lo=0, hi=600, dec=1, dflt=50),
            el("Drehrichtung umkehren", "Reverse direction", switch=True),
            el("Störungen übergehen", "Override faults", switch=True, lvl=3, cat=1),
        ], lvl=2, help="kxf-emergency"),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def system():
    rows = [
        simple("S04", "Quelle Parametersatzwahl", "Parameter set selection source", choices=[
            (0, "Parameter", "Parameter"), (1, "Digitaleingänge", "Digital inputs"), (2, "Feldbus", "Fieldbus")],
            help="sys-parameter-sets"),
        simple("S06", "Parameter speichern", "Save parameters", dev=True, switch=True, cat=1),
        simple("S07", "Automatisch speichern", "Save automatically", dev=True, switch=True, dflt=1),
        simple("S10", "Anzeige Bedienfeld", "Keypad display", dev=True, choices=[
            (0, "Ausgangsfrequenz", "Output frequency"), (1, "Ausgangsstrom", "Output current"),
            (2, "Motordrehzahl", "Motor speed"), (3, "Prozess-Istwert", "Process actual value")], dflt=0, ref=0),
        simple("S15", "Lüftersteuerung", "Fan control", dev=True, choices=[
            (0, "Temperaturabhängig", "Temperature-controlled"), (1, "Immer ein", "Always on"),
            (2, "Bei Betrieb", "While running")], dflt=2, ref=0, lvl=2),
        simple("S16", "Lüfter Betriebsstunden", "Fan operating hours", dev=True, unit="h", lo=0, hi=999999,
               ro=True, dflt=16950),
        simple("S120", "Taste Stopp am Bedienfeld", "Keypad stop key", dev=True, choices=[
            (0, "Immer wirksam", "Always effective"), (1, "Nur bei Bedienfeldsteuerung", "Only in keypad control")]),
        simple("S121", "Bedienfeld sperren", "Lock keypad", dev=True, switch=True, lvl=2),
        simple("S122", "Kopierfunktion Bedienfeld", "Keypad copy function", dev=True, choices=[
            (0, "Keine Aktion", "No action"), (1, "Gerät → Bedienfeld", "Device → keypad"),
            (2, "Bedienfeld → Gerät", "Keypad → device")], cat=1, lvl=2, help="kxf-copy"),
        simple("S123", "Anzeigefaktor", "Display factor", dev=True, lo=0.01, hi=100, dec=2, dflt=1),
        simple("S124", "Anzeigeeinheit", "Display unit", dev=True, text=6, dflt="Hz"),
        simple("S125", "Schnellinbetriebnahme", "Quick commissioning", dev=True, choices=[
            (0, "Abgeschlossen", "Completed"), (1, "Erforderlich", "Required")], dflt=0, ref=1, cat=1),
        simple("S126", "Diagnose-Protokoll", "Diagnostic log", dev=True, choices=[
            (0, "Aus", "Off"), (1, "Störungen", "Faults"), (2, "Ausführlich", "Verbose")], off=True, lvl=3, cat=1),
        series("S127", [
            ("Uhrzeit", "Time of day", {"text": 8, "dflt": "07:15:00"}),
            ("Datum", "Date", {"text": 10, "dflt": "2024-03-18"}),
        ], dev=True, ro=True),
        family("S130", 4, [
            ("Schaltuhr {n} Einschaltzeit", "Timer switch {n} on time", {"text": 5, "dflt": "06:00"}),
            ("Schaltuhr {n} Ausschaltzeit", "Timer switch {n} off time", {"text": 5, "dflt": "22:00"}),
            ("Schaltuhr {n} Wochentage", "Timer switch {n} weekdays",
             {"choices": [(0, "Aus", "Off"), (1, "Montag bis Freitag", "Monday to Friday"),
                          (2, "Wochenende", "Weekend"), (3, "Täglich", "Daily")]}),
            ("Schaltuhr {n} Aktion", "Timer switch {n} action",
             {"choices": [(0, "Start/Stopp", "Start/stop"), (1, "Festfrequenz 1", "Fixed frequency 1"),
                          (2, "Parametersatz 2", "Parameter set 2"), (3, "Relais K2", "Relay K2")]}),
        ]),
    ]
    return with_defaults(_flatten(rows), lvl=1)


def vf_curve():
    rows = [
        simple("U01", "Kennlinienform", "Curve shape", choices=CH_VF_CURVE, dflt=1, ref=0, help="kxf-vf"),
        simple("U02", "Eckfrequenz", "Base frequency", unit="Hz", lo=10, hi=600, dec=1, dflt=50, help="kxf-vf"),
        simple("U03", "Eckspannung", "Base voltage", unit="V", lo=50, hi=690, dflt=400, help="kxf-vf"),
        simple("U04", "Spannung bei 0 Hz", "Voltage at 0 Hz", unit="V", lo=0, hi=100, dec=1, dflt=8, help="kxf-vf"),
        array("U05", "Stützpunkte Frequenz", "Curve point frequencies", 6, names=("Punkt {n}", "Point {n}"),
              unit="Hz", lo=0, hi=600, dec=1, dflts=[0, 5, 10, 25, 40, 50], actives=[False] * 6, help="kxf-vf"),
        array("U06", "Stützpunkte Spannung", "Curve point voltages", 6, names=("Punkt {n}", "Point {n}"),
              unit="V", lo=0, hi=690, dflts=[8, 45, 85, 200, 320, 400], actives=[False] * 6, help="kxf-vf"),
        simple("U07", "Spannungsreserve", "Voltage reserve", unit="%", lo=0, hi=20, dec=1, dflt=3, lvl=3, cat=1),
        simple("U08", "Übermodulation", "Overmodulation", switch=True, lvl=3, cat=1),
        simple("U09", "Flussabsenkung Teillast", "Flux reduction at part load", unit="%", lo=0, hi=50, lvl=2),
        simple("U10", "Totzeitkompensation", "Dead time compensation", switch=True, dflt=1, lvl=3, cat=1),
        simple("U11", "Ausgangsspannung Grenze", "Output voltage limit", unit="V", lo=50, hi=690, dflt=460, lvl=2),
        simple("U12", "Energieoptimierung", "Energy optimisation", switch=True),
        simple("U13", "Energieoptimierung Suchschritt", "Energy optimisation search step", unit="%", lo=0.1,
               hi=10, dec=1, dflt=1, off=True, lvl=2),
        simple("U14", "Spannung Istwert Kennlinie", "Curve voltage actual value", unit="V", lo=0, hi=800, ro=True,
               dflt=342, lvl=0),
    ]
    return with_defaults(_flatten(rows), lvl=1)


HELP_PAGES = [
    ("kxf-dual", "Zweites Leistungsteil",
     "<p>Mit dem zweiten Leistungsteil steuert das KXF-2 zwei Motoren unabhängig voneinander. "
     "Die Gruppen A, N und S gelten für das ganze Gerät, die übrigen je Achse.</p>"),
    ("kxf-slip", "Schlupfkompensation",
     "<p>Asynchronmotoren drehen unter Last langsamer als das Drehfeld. Die Schlupfkompensation hebt "
     "die Ausgangsfrequenz lastabhängig an, so dass die Drehzahl nahezu konstant bleibt.</p>"),
    ("kxf-vf", "U/f-Kennlinie",
     "<p>Die Kennlinie ordnet jeder Ausgangsfrequenz eine Ausgangsspannung zu. Lüfter und Pumpen "
     "sparen mit der quadratischen Kennlinie Energie.</p><p>Die freien Stützpunkte gelten nur für "
     "die Kennlinienform <i>Frei</i>.</p>"),
    ("kxf-flying-restart", "Fangschaltung",
     "<p>Die Fangschaltung sucht die Drehzahl eines noch drehenden Motors und schaltet ohne "
     "Stromstoß auf ihn auf, z.&nbsp;B. bei einem nachlaufenden Lüfter.</p>"),
    ("kxf-dc-braking", "Gleichstrombremsung",
     "<p>Beim Stillsetzen wird ein Gleichstrom in den Motor eingeprägt, der ihn abbremst. Die Energie "
     "wird im Motor in Wärme umgesetzt.</p>"),
    ("kxf-identification", "Motoridentifikation",
     "<p>Die Motoridentifikation misst die Ersatzschaltbilddaten des Motors. Im Stillstand dauert sie "
     "etwa eine Minute; mit Drehung werden auch Leerlaufstrom und Hauptinduktivität ermittelt.</p>"),
    ("kxf-motor-protection", "Motorschutz",
     "<p>Das thermische Motormodell berücksichtigt, dass eigenbelüftete Motoren bei kleiner Drehzahl "
     "schlechter gekühlt werden.</p>"),
    ("kxf-motor2", "Motordatensatz 2",
     "<p>Am Ausgang der Achse 1 kann wahlweise ein zweiter Motor betrieben werden. Umgeschaltet wird "
     "nur im Stillstand.</p>"),
    ("kxf-fault-reaction", "Störungsreaktionen",
     "<p>Für jedes überwachte Ereignis lässt sich festlegen, ob nur gewarnt, ausgetrudelt oder an der "
     "Rampe stillgesetzt wird.</p>"),
    ("kxf-auto-restart", "Automatischer Wiederanlauf",
     "<p>Nach bestimmten Störungen startet der Umrichter nach der Wartezeit selbsttätig neu. "
     "<b>Achtung:</b> die Anlage kann ohne Vorwarnung anlaufen.</p>"),
    ("kxf-maintenance", "Wartungsintervall",
     "<p>Nach Ablauf des Wartungsintervalls meldet das Gerät <i>Wartung fällig</i>. Das Quittieren "
     "startet das Intervall neu.</p>"),
    ("kxf-motorpot", "Motorpotentiometer",
     "<p>Zwei Digitaleingänge verstellen den Sollwert auf und ab. Der Wert kann beim Ausschalten "
     "gespeichert werden.</p>"),
    ("kxf-serial", "Serielle Schnittstelle",
     "<p>Die serielle Schnittstelle überträgt Steuerwort, Sollwert und Parameter. Alle Teilnehmer "
     "eines Busses brauchen gleiche Übertragungsrate und Parität.</p>"),
    ("kxf-process-scaling", "Skalierung des Prozess-Istwerts",
     "<p>Der Istwert wird in der Einheit der Anlage angezeigt, etwa in bar oder m³/h.</p>"),
    ("kxf-sleep", "Schlaffunktion",
     "<p>Läuft die Pumpe länger als die Verzögerung unterhalb der Schlaffrequenz, hält der Umrichter "
     "an. Er läuft wieder an, wenn die Regelabweichung die Aufwachabweichung übersteigt.</p>"),
    ("kxf-cascade", "Pumpenkaskade",
     "<p>Bis zu vier Zusatzpumpen werden über Relais zugeschaltet, wenn die geregelte Pumpe an der "
     "Zuschaltfrequenz nicht mehr ausreicht.</p>"),
    ("kxf-ramps", "Rampen und Frequenzgrenzen",
     "<p>Hoch- und Rücklaufzeit beziehen sich auf die Änderung von 0 bis zur Maximalfrequenz. Die "
     "S-Verrundung mildert Rucke an Beginn und Ende der Rampe.</p>"),
    ("kxf-fixed-frequencies", "Festfrequenzen",
     "<p>Drei Digitaleingänge wählen binär eine der acht Festfrequenzen. Negative Werte kehren die "
     "Drehrichtung um.</p>"),
    ("kxf-setpoints", "Sollwertquellen",
     "<p>Haupt- und Zusatzsollwert werden addiert. Der Zusatzsollwert eignet sich für eine "
     "Feinkorrektur über einen Analogeingang.</p>"),
    ("kxf-vector", "Vektorregelung",
     "<p>Diese Parameter wirken nur mit dem Regelverfahren <i>Vektorregelung</i>. Oberhalb der "
     "Umschaltfrequenz gelten Verstärkung und Nachstellzeit für den oberen Bereich.</p>"),
    ("kxf-energy", "Energiemessung",
     "<p>Das Gerät zählt die abgegebene Energie je Tag und Monat. Die Einsparung wird gegenüber einem "
     "ungeregelten Betrieb am Netz mit Drosselregelung geschätzt.</p>"),
    ("kxf-external-controller", "Externer Prozessregler",
     "<p>Ein zweiter PID-Regler, der nicht den Motor, sondern ein externes Stellglied über den "
     "Analogausgang führt, z.&nbsp;B. ein Ventil.</p>"),
    ("kxf-emergency", "Notbetrieb",
     "<p>Im Notbetrieb läuft der Motor mit fester Frequenz, solange der Eingang anliegt, etwa für "
     "eine Rauchabzugsanlage.</p><p><b>Achtung:</b> mit <i>Störungen übergehen</i> erlischt der Schutz "
     "von Motor und Gerät.</p>"),
    ("kxf-copy", "Kopierfunktion",
     "<p>Das Bedienfeld speichert einen vollständigen Parametersatz und überträgt ihn auf ein "
     "baugleiches Gerät.</p>"),
]


def _flatten(rows):
    out = []
    for row in rows:
        out.extend(row if isinstance(row, list) else [row])
    return out


def catalogue():
    params = shared_rows("inverter") + identification() + control() + motor() + faults() + inputs_outputs() \
        + network() + process_controller() + ramps_setpoints() + system() + vf_curve()
    params.sort(key=lambda p: (p["coordinate"][0], int(p["coordinate"][1:])))
    pages = shared_help_pages() + [{"id": i, "title": t, "html": h} for i, t, h in HELP_PAGES]
    return {"name": NAME, "descriptor": DESCRIPTOR, "maxAxes": MAX_AXES, "helpPages": pages, "parameters": params}
