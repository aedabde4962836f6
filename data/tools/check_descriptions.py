#!/usr/bin/env python3
"""Checks device descriptions without the C++ loader: the format rules and what
the sample project promises to the rest of the suite (catalogue size and mix,
help pages, a project whose axes differ).

    python3 data/tools/check_descriptions.py [data/sample-project.json]

Prints one line per problem and exits 1 when there is any.
"""

import json
import math
import re
import sys
from pathlib import Path

COORDINATE = re.compile(r"^[A-Za-z][0-9]{2,3}$")
COLOR = re.compile(r"^#[0-9A-Fa-f]{6}$")
KINDS = ("number", "choice", "switch", "text")
ELEMENT_PROPERTIES = ("kind", "unit", "min", "max", "decimals", "choices", "default", "reference", "writable",
                      "active", "hasValue", "level", "category")
PER_ELEMENT_LISTS = ("default", "reference", "writable", "active")
DESCRIPTION_PREFIX = "<description>="
HIGHEST_ACCESS_LEVEL = 3  # the highest level the application offers
MIN_PARAMETERS = 320


class Problems:
    def __init__(self):
        self.lines = []

    def add(self, where, text):
        self.lines.append("%s: %s" % (where, text))


def canonical(coord):
    return "%s%d" % (coord[0].upper(), int(coord[1:]))


def is_number(value):
    return isinstance(value, (int, float)) and not isinstance(value, bool)


def value_problem(element, value):
    """Why `value` is not valid for the element, or None."""
    kind = element["kind"]
    if kind == "number":
        if not is_number(value):
            return "%r is not a number" % (value,)
        if value < element["min"] or value > element["max"]:
            return "%r is outside %g … %g" % (value, element["min"], element["max"])
        scaled = value * 10 ** element["decimals"]
        if abs(scaled - round(scaled)) > 1e-6 * max(1.0, abs(scaled)):
            return "%r has more than %d decimals" % (value, element["decimals"])
    elif kind == "choice":
        if not is_number(value) or value != int(value) or int(value) not in [c["value"] for c in element["choices"]]:
            return "%r is not in the selection list" % (value,)
    elif kind == "switch":
        if value not in (0, 1) or (is_number(value) and value != int(value)):
            return "%r is not a switch value" % (value,)
    elif kind == "text":
        if not isinstance(value, str):
            return "%r is not a text" % (value,)
        if len(value) > element["max"]:
            return "%r is longer than %d characters" % (value, element["max"])
    return None


def same_value(a, b):
    if isinstance(a, str) or isinstance(b, str):
        return a == b
    return math.isclose(float(a), float(b), rel_tol=0, abs_tol=1e-9)


def resolve_elements(param, where, problems):
    """The elements of a parameter with every property filled in (defaults of
    the format, then parameter level, then element level)."""
    structure = param.get("structure", "simple")
    count = param.get("count")
    listed = param.get("elements")
    if structure == "simple":
        if listed is not None:
            problems.add(where, "simple parameters have no elements")
        raw = [{}]
    elif structure == "array":
        if not isinstance(count, int) or not 2 <= count <= 16:
            problems.add(where, '"count" must be between 2 and 16')
            return []
        if listed is not None and len(listed) != count:
            problems.add(where, "array has %d elements, count says %d" % (len(listed), count))
            return []
        raw = listed if listed is not None else [{} for _ in range(count)]
    elif structure == "record":
        if not listed:
            problems.add(where, "records need elements")
            return []
        raw = listed
    else:
        problems.add(where, "unknown structure %r" % structure)
        return []

    elements = []
    previous = -1
    for position, item in enumerate(raw):
        e_where = "%s.elements[%d]" % (where, position)
        e = {"kind": "number", "unit": "", "min": 0, "max": 0, "decimals": 0, "writable": True, "active": True,
             "hasValue": True, "level": 0, "category": 0}
        for key in ELEMENT_PROPERTIES:
            if key in param and not (key in PER_ELEMENT_LISTS and isinstance(param[key], list)):
                e[key] = param[key]
            if key in PER_ELEMENT_LISTS and isinstance(param.get(key), list):
                if structure != "array" or len(param[key]) != count:
                    problems.add(where, "per-element %r needs one value per array element" % key)
                else:
                    e[key] = param[key][position]
        e.update({k: v for k, v in item.items() if k in ELEMENT_PROPERTIES})
        e["index"] = item.get("index", position)
        e["help"] = item.get("help", "")
        if not isinstance(e["index"], int) or not 0 <= e["index"] <= 65535 or e["index"] <= previous:
            problems.add(e_where, "element indices must be ascending, unique and 0..65535")
        previous = e["index"]
        if structure == "record" and "name" not in item:
            problems.add(e_where, "record elements need a name")
        if e["kind"] not in KINDS:
            problems.add(e_where, "unknown kind %r" % e["kind"])
            continue
        if e["min"] > e["max"]:
            problems.add(e_where, '"min" is greater than "max"')
        if not isinstance(e["decimals"], int) or not 0 <= e["decimals"] <= 6:
            problems.add(e_where, '"decimals" must be 0..6')
        if not isinstance(e["level"], int) or e["level"] < 0:
            problems.add(e_where, '"level" must be an integer >= 0')
        if e["kind"] == "choice":
            values = [c.get("value") for c in e.get("choices", [])]
            if not values:
                problems.add(e_where, "selection lists need choices")
                continue
            if len(set(values)) != len(values):
                problems.add(e_where, "choice values must be unique")
            if any("de" not in c for c in e["choices"]):
                problems.add(e_where, "every choice needs a German text")
        if "default" not in e:
            e["default"] = {"number": e["min"], "switch": 0, "text": ""}.get(e["kind"])
            if e["kind"] == "choice":
                e["default"] = e["choices"][0]["value"]
        e.setdefault("reference", e["default"])
        for key in ("default", "reference"):
            why = value_problem(e, e[key])
            if why:
                problems.add(e_where, "%s: %s" % (key, why))
        elements.append(e)
    return elements


def check_type(type_obj, where, problems):
    """Returns {canonical coordinate: (param, elements)} of a valid type."""
    max_axes = type_obj.get("maxAxes")
    if not isinstance(max_axes, int) or not 1 <= max_axes <= 16:
        problems.add(where, '"maxAxes" must be 1..16')
        max_axes = 1
    page_ids = [h.get("id") for h in type_obj.get("helpPages", [])]
    if len(set(page_ids)) != len(page_ids):
        problems.add(where, "help page identifiers must be unique")
    for i, page in enumerate(type_obj.get("helpPages", [])):
        if not page.get("title") or not page.get("html"):
            problems.add("%s.helpPages[%d]" % (where, i), "help pages need a title and html")

    catalogue = {}
    for i, param in enumerate(type_obj.get("parameters", [])):
        coord = param.get("coordinate", "")
        p_where = "%s.parameters[%d] (%s)" % (where, i, coord)
        if not COORDINATE.match(coord):
            problems.add(p_where, "malformed coordinate")
            continue
        if canonical(coord) in catalogue:
            problems.add(p_where, "duplicate coordinate")
        if not param.get("name", {}).get("de"):
            problems.add(p_where, "a German name is required")
        scope = param.get("scope", "axis")
        if scope not in ("axis", "device"):
            problems.add(p_where, "unknown scope %r" % scope)
        defined_in = param.get("definedIn")
        if defined_in is not None:
            if scope == "device":
                problems.add(p_where, '"definedIn" is for per-axis parameters only')
            if not defined_in or any(not isinstance(a, int) or not 1 <= a <= max_axes for a in defined_in):
                problems.add(p_where, '"definedIn" must list axis numbers 1..%d' % max_axes)
        elements = resolve_elements(param, p_where, problems)
        for help_id in [param.get("help", "")] + [e["help"] for e in elements]:
            if help_id and not help_id.startswith(DESCRIPTION_PREFIX) and help_id not in page_ids:
                problems.add(p_where, "help page %r is missing" % help_id)
        catalogue[canonical(coord)] = (param, elements)
    return catalogue


def load(path, problems, types, controllers, seen):
    path = path.resolve()
    if path in seen:
        problems.add(path.name, "include cycle")
        return
    seen = seen | {path}
    try:
        doc = json.loads(path.read_text(encoding="utf-8"))
    except (OSError, ValueError) as error:
        problems.add(path.name, str(error))
        return
    if doc.get("format") != "KxDeviceDescription" or doc.get("version") != 1:
        problems.add(path.name, "not a version 1 KxDeviceDescription")
    for include in doc.get("includes", []):
        load(path.parent / include, problems, types, controllers, seen)
    for i, type_obj in enumerate(doc.get("types", [])):
        name = type_obj.get("name")
        if name in types:
            problems.add(path.name, 'types[%d]: duplicate type "%s"' % (i, name))
        types[name] = (type_obj, check_type(type_obj, "%s: types[%d]" % (path.name, i), problems))
    for i, controller in enumerate(doc.get("controllers", [])):
        controllers.append(("%s: controllers[%d]" % (path.name, i), controller))


def check_controller(where, controller, types, problems):
    """Returns {(coordinate, axis, element): value} of the controller's initial values."""
    if controller.get("type") not in types:
        problems.add(where, 'unknown type "%s"' % controller.get("type"))
        return {}
    type_obj, catalogue = types[controller["type"]]
    numbers = [a.get("number") for a in controller.get("axes", [])]
    if len(set(numbers)) != len(numbers) or any(not isinstance(n, int) or not 1 <= n <= type_obj["maxAxes"]
                                                 for n in numbers):
        problems.add(where, "axis numbers must be unique and 1..%d" % type_obj["maxAxes"])
    for axis in controller.get("axes", []):
        if "markingColor" in axis and not COLOR.match(axis["markingColor"]):
            problems.add(where, "marking colour %r is not #rrggbb" % axis["markingColor"])

    values = {}
    for i, item in enumerate(controller.get("values", [])):
        v_where = "%s.values[%d] (%s)" % (where, i, item.get("coordinate"))
        coord = item.get("coordinate", "")
        if not COORDINATE.match(coord) or canonical(coord) not in catalogue:
            problems.add(v_where, "unknown coordinate")
            continue
        param, elements = catalogue[canonical(coord)]
        axis = item.get("axis", 0)
        if param.get("scope") == "device":
            if axis != 0:
                problems.add(v_where, "device-wide parameters take axis 0")
        elif axis not in numbers or axis not in param.get("definedIn", numbers):
            problems.add(v_where, "the parameter has no values in axis %r" % axis)
        element = next((e for e in elements if e["index"] == item.get("element", 0)), None)
        if element is None or not element["hasValue"]:
            problems.add(v_where, "element %r carries no value" % item.get("element", 0))
            continue
        if not element["writable"]:
            problems.add(v_where, "element is read-only")
        why = value_problem(element, item.get("value"))
        if why:
            problems.add(v_where, why)
        elif same_value(item["value"], element["default"]):
            problems.add(v_where, "value equals the default; it would not show as an initial value")
        values[(canonical(coord), axis, item.get("element", 0))] = item.get("value")
    return values


def check_catalogue_mix(name, type_obj, catalogue, problems):
    params = [p for p, _ in catalogue.values()]
    elements = [e for _, es in catalogue.values() for e in es]
    counts = {
        "parameters": (len(params), MIN_PARAMETERS),
        "simple parameters": (sum(p.get("structure", "simple") == "simple" for p in params), 50),
        "arrays": (sum(p.get("structure") == "array" for p in params), 5),
        "arrays with named elements": (sum(p.get("structure") == "array" and "elements" in p for p in params), 3),
        "records": (sum(p.get("structure") == "record" for p in params), 5),
        "device-wide parameters": (sum(p.get("scope") == "device" for p in params), 20),
        "per-axis parameters": (sum(p.get("scope", "axis") == "axis" for p in params), 100),
        "parameters limited to some axes": (sum("definedIn" in p for p in params), 2),
        "selection lists": (sum(e["kind"] == "choice" for e in elements), 20),
        "switches": (sum(e["kind"] == "switch" for e in elements), 10),
        "texts": (sum(e["kind"] == "text" for e in elements), 3),
        "read-only elements": (sum(not e["writable"] and e["hasValue"] for e in elements), 20),
        "inactive elements": (sum(not e["active"] for e in elements), 3),
        "elements without value": (sum(not e["hasValue"] for e in elements), 3),
        "values that differ from their reference": (
            sum(not same_value(e["default"], e["reference"]) for e in elements if e["hasValue"]), 8),
        "elements with a unit": (sum(bool(e["unit"]) for e in elements), 100),
        "elements with decimals": (sum(e["decimals"] > 0 for e in elements), 30),
        "help pages": (len(type_obj.get("helpPages", [])), 10),
        "parameters with a help page": (
            sum(bool(p.get("help")) and not p["help"].startswith(DESCRIPTION_PREFIX) for p in params), 40),
        "inline help texts": (sum(p.get("help", "").startswith(DESCRIPTION_PREFIX) for p in params)
                              + sum(e["help"].startswith(DESCRIPTION_PREFIX) for e in elements), 4),
    }
    for what, (have, need) in counts.items():
        if have < need:
            problems.add(name, "%d %s, want at least %d" % (have, what, need))
    if {e["level"] for e in elements} != {0, 1, 2, 3}:
        problems.add(name, "levels 0..3 should all occur")
    if {e["category"] for e in elements} != {0, 1}:
        problems.add(name, "categories 0 and 1 should both occur")
    # A change is marked only below the user's access level, and the application
    # offers levels up to 3: a setting (category 0) at level 3 is never marked.
    for coord, (_, es) in catalogue.items():
        for e in es:
            if e["hasValue"] and e["category"] == 0 and e["level"] >= HIGHEST_ACCESS_LEVEL:
                problems.add("%s %s[%d]" % (name, coord, e["index"]),
                             "a setting at level %d never shows a changed mark; "
                             "give it a lower level or category 1" % e["level"])
    if any(p.get("structure") == "array" and not 2 <= p["count"] <= 16 for p in params):
        problems.add(name, "array sizes must be 2..16")


def signature(entry):
    param, elements = entry
    return (param.get("structure", "simple"), param.get("scope", "axis"), [e["kind"] for e in elements])


def check_project(path):
    problems = Problems()
    types, controllers = {}, []
    load(path, problems, types, controllers, frozenset())
    if problems.lines:
        return problems.lines

    if len(types) != 2:
        problems.add(path.name, "expected two controller types, found %d" % len(types))
    for name, (type_obj, catalogue) in types.items():
        check_catalogue_mix(name, type_obj, catalogue, problems)
    pages = {}
    for name, (type_obj, _) in types.items():
        for page in type_obj.get("helpPages", []):
            if pages.setdefault(page.get("id"), page) != page:
                problems.add(name, "help page %r differs from another type's page of that identifier; "
                                   "the suite keeps only one of them" % page.get("id"))
    catalogues = [c for _, c in types.values()]
    if len(catalogues) == 2:
        first, second = catalogues
        shared = set(first) & set(second)
        if len(shared) < 10:
            problems.add(path.name, "the types share only %d coordinates" % len(shared))
        for coord in sorted(shared):
            if signature(first[coord]) != signature(second[coord]) \
                    or first[coord][0]["name"]["de"] != second[coord][0]["name"]["de"]:
                problems.add(path.name, "shared coordinate %s differs in meaning between the types" % coord)
        if not set(first) - shared or not set(second) - shared:
            problems.add(path.name, "each type should have coordinates of its own")

    if len(controllers) != 3:
        problems.add(path.name, "expected three controllers, found %d" % len(controllers))
    all_values = {}
    axis_counts = []
    for where, controller in controllers:
        axis_counts.append(len(controller.get("axes", [])))
        all_values[where] = check_controller(where, controller, types, problems)
    if axis_counts and (min(axis_counts) < 1 or max(axis_counts) > 4):
        problems.add(path.name, "controllers should have 1 to 4 axes")
    flags = [(a.get("fault", False), "markingColor" in a) for _, c in controllers for a in c.get("axes", [])]
    if not any(f for f, _ in flags) or not any(m for _, m in flags):
        problems.add(path.name, "some axis should have a fault and some a marking colour")
    if not any(c.get("online", False) for _, c in controllers):
        problems.add(path.name, "one controller should be online")
    if sum(len(v) for v in all_values.values()) < 24:
        problems.add(path.name, "a few dozen initial values are expected")
    if not any(element != 0 for v in all_values.values() for (_, _, element) in v):
        problems.add(path.name, "some initial values should address array elements")
    differing = False
    for values in all_values.values():
        by_place = {}
        for (coord, axis, element), value in values.items():
            by_place.setdefault((coord, element), {})[axis] = value
        differing |= any(len({json.dumps(v) for v in axes.values()}) > 1 for axes in by_place.values())
    if not differing:
        problems.add(path.name, "no parameter value differs between two axes of a controller")
    return problems.lines


def main(argv):
    path = Path(argv[1]) if len(argv) > 1 else Path(__file__).resolve().parent.parent / "sample-project.json"
    lines = check_project(path)
    for line in lines:
        print(line)
    print("%s: %s" % (path.name, "%d problems" % len(lines) if lines else "ok"))
    return 1 if lines else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
