#!/usr/bin/env python3
"""The data check must notice broken sample data: each case breaks one thing
in a copy of data/ and expects the check to name it."""

import json
import shutil
import sys
import tempfile
import unittest
from pathlib import Path

sys.dont_write_bytecode = True
DATA = Path(__file__).resolve().parents[2] / "data"
sys.path.insert(0, str(DATA / "tools"))

import check_descriptions  # noqa: E402


def find(params, coordinate):
    return next(p for p in params if p["coordinate"] == coordinate)


def servo(doc):
    return doc["servo"]["types"][0]["parameters"]


def inverter(doc):
    return doc["inverter"]["types"][0]["parameters"]


def project_values(doc, controller):
    return doc["project"]["controllers"][controller]["values"]


def keep_first_axis_values(doc):
    for controller in doc["project"]["controllers"]:
        controller["values"] = [v for v in controller["values"] if v.get("axis", 0) <= 1]


# (case name, mutation of the loaded documents, expected fragment of a problem)
BREAKAGES = [
    ("default outside the limits",
     lambda d: find(servo(d), "C16").update({"default": 20000}), "outside"),
    ("too many decimals",
     lambda d: find(servo(d), "D01").update({"default": 4.805}), "decimals"),
    ("default not in the selection list",
     lambda d: find(inverter(d), "R12").update({"default": 7}), "not in the selection list"),
    ("text longer than allowed",
     lambda d: find(servo(d), "A09").update({"kind": "text", "max": 2, "default": "abc"}), "longer than"),
    ("array size outside 2..16",
     lambda d: find(servo(d), "M43").update({"count": 17}), "between 2 and 16"),
    ("per-element defaults of the wrong length",
     lambda d: find(servo(d), "C32").update({"default": [1, 2]}), "one value per array element"),
    ("duplicate coordinate",
     lambda d: find(servo(d), "C03").update({"coordinate": "C002"}), "duplicate coordinate"),
    ("missing help page",
     lambda d: find(servo(d), "C02").update({"help": "no-such-page"}), "missing"),
    ("help pages of one identifier that differ",
     lambda d: d["inverter"]["types"][0]["helpPages"][0].update({"title": "anders"}), "keeps only one"),
    ("shared coordinate with another meaning",
     lambda d: find(inverter(d), "D02").update({"name": {"de": "Etwas anderes"}}), "differs in meaning"),
    ("definedIn beyond maxAxes",
     lambda d: find(inverter(d), "P01").update({"definedIn": [3]}), "definedIn"),
    ("initial value for a read-only element",
     lambda d: project_values(d, 0).append({"coordinate": "A02", "value": "9.9"}), "read-only"),
    ("initial value equal to the default",
     lambda d: project_values(d, 0).append({"coordinate": "N02", "value": 500}), "equals the default"),
    ("initial value for an axis the parameter is not defined in",
     lambda d: project_values(d, 0).append({"coordinate": "M60", "axis": 1, "element": 1, "value": 1}),
     "no values in axis"),
    ("setting whose changes could never be marked",
     lambda d: find(servo(d), "C30").update({"level": 3}), "never shows a changed mark"),
    ("all axes alike", keep_first_axis_values, "differs between two axes"),
    ("no online controller",
     lambda d: [c.pop("online", None) for c in d["project"]["controllers"]], "online"),
]


class CheckDescriptionsTest(unittest.TestCase):
    def setUp(self):
        self.dir = Path(tempfile.mkdtemp())
        shutil.copytree(DATA, self.dir / "data", ignore=shutil.ignore_patterns("tools", "__pycache__"))
        self.files = {
            "servo": self.dir / "data/types/kxs4-servo.json",
            "inverter": self.dir / "data/types/kxf2-inverter.json",
            "project": self.dir / "data/sample-project.json",
        }

    def tearDown(self):
        shutil.rmtree(self.dir)

    def problems_after(self, mutate):
        docs = {k: json.loads(p.read_text(encoding="utf-8")) for k, p in self.files.items()}
        mutate(docs)
        for key, path in self.files.items():
            path.write_text(json.dumps(docs[key], ensure_ascii=False, indent=2), encoding="utf-8")
        return check_descriptions.check_project(self.files["project"])

    def test_sample_passes(self):
        # GIVEN the data as committed THEN nothing is reported
        self.assertEqual(self.problems_after(lambda d: None), [])

    def test_breakages_are_reported(self):
        for name, mutate, fragment in BREAKAGES:
            with self.subTest(name):
                # GIVEN one thing broken in a copy WHEN checked THEN it is named
                problems = self.problems_after(mutate)
                self.assertTrue(problems, "nothing reported")
                self.assertTrue(any(fragment in p for p in problems), "\n".join(problems))
                self.tearDown()
                self.setUp()


if __name__ == "__main__":
    unittest.main()
