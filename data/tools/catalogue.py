"""Building blocks for the theme tables: parameters, elements, series.

Rows are written with short keywords and turned into the description format
here, so the tables stay readable:

    lo/hi/dec        min/max/decimals       dflt/ref   default/reference
    lvl/cat          level/category         ro=True    "writable": false
    off=True         "active": false        dev=True   "scope": "device"
    axes=[..]        "definedIn"            switch=True, text=N (max length),
    choices=[(value, de, en), ...]          novalue=True  "hasValue": false
    dflts/refs/writables/actives=[..]       per-element lists of an array
"""

import json

PARAM_KEYS = ["coordinate", "name", "scope", "definedIn", "structure", "count", "help"]
ELEMENT_KEYS = ["index", "name", "help"]
PROPERTY_KEYS = ["kind", "unit", "min", "max", "decimals", "choices", "default", "reference",
                 "writable", "active", "hasValue", "level", "category"]

_ALIASES = {"lo": "min", "hi": "max", "dec": "decimals", "dflt": "default", "ref": "reference",
            "lvl": "level", "cat": "category", "help": "help", "unit": "unit"}


def _properties(props):
    out = {}
    for key, value in props.items():
        if key in _ALIASES:
            out[_ALIASES[key]] = value
        elif key == "ro":
            if value:
                out["writable"] = False
        elif key == "off":
            if value:
                out["active"] = False
        elif key == "novalue":
            if value:
                out["hasValue"] = False
        elif key == "switch":
            if value:
                out["kind"] = "switch"
        elif key == "text":
            out["kind"] = "text"
            out["max"] = value
        elif key == "choices":
            out["kind"] = "choice"
            out["choices"] = [{"value": v, "de": de, "en": en} for v, de, en in value]
        elif key in ("dev", "axes"):
            raise ValueError("%s is a parameter keyword, not an element keyword" % key)
        else:
            raise ValueError("unknown keyword %r" % key)
    return out


def _name(de, en):
    return {"de": de, "en": en} if en else {"de": de}


def el(de, en=None, index=None, **props):
    """An element of an array or record."""
    element = {"name": _name(de, en)}
    if index is not None:
        element["index"] = index
    element.update(_properties(props))
    return element


def header(de, en):
    """A record's leading element that only carries a caption."""
    return el(de, en, novalue=True, ro=True)


def _parameter(coord, de, en, structure, count=None, elements=None, dev=False, axes=None,
               dflts=None, refs=None, writables=None, actives=None, **props):
    param = {"coordinate": coord, "name": _name(de, en)}
    if dev:
        param["scope"] = "device"
    if axes:
        param["definedIn"] = list(axes)
    if structure != "simple":
        param["structure"] = structure
    if count is not None:
        param["count"] = count
    param.update(_properties(props))
    # Per-element values of an array, given at parameter level.
    for key, values in (("default", dflts), ("reference", refs), ("writable", writables), ("active", actives)):
        if values is not None:
            assert structure == "array" and len(values) == count, coord
            param[key] = list(values)
    if elements is not None:
        param["elements"] = elements
    return param


def simple(coord, de, en, **props):
    return _parameter(coord, de, en, "simple", **props)


def array(coord, de, en, count, names=None, **props):
    """An array of `count` elements; `names` gives per-element (de, en) names
    or a format string with {n} (1-based)."""
    elements = None
    if isinstance(names, tuple):
        elements = [el(names[0].format(n=i + 1), names[1].format(n=i + 1)) for i in range(count)]
    elif names:
        elements = [item if isinstance(item, dict) else el(*item) for item in names]
        assert len(elements) == count, coord
    return _parameter(coord, de, en, "array", count=count, elements=elements, **props)


def record(coord, de, en, elements, **props):
    return _parameter(coord, de, en, "record", elements=elements, **props)


def next_coordinate(coord, step=1):
    letter, number = coord[0], int(coord[1:])
    number += step
    return "%s%02d" % (letter, number) if number < 100 else "%s%d" % (letter, number)


def series(first, items, **props):
    """Simple parameters at consecutive coordinates; items are (de, en) or
    (de, en, {overrides})."""
    out = []
    coord = first
    for item in items:
        de, en = item[0], item[1]
        own = dict(props)
        if len(item) > 2:
            own.update(item[2])
        out.append(simple(coord, de, en, **own))
        coord = next_coordinate(coord)
    return out


def family(first, instances, fields):
    """One block of parameters per instance (e.g. per comparator), numbered
    instance after instance; fields are (de, en, props) with {n} in the names."""
    out = []
    coord = first
    for n in range(1, instances + 1):
        for de, en, props in fields:
            out.append(simple(coord, de.format(n=n), en.format(n=n), **props))
            coord = next_coordinate(coord)
    return out


def described(html):
    """Inline help carried by the parameter itself instead of a help page."""
    return "<description>=" + html


def with_defaults(rows, **defaults):
    """Applies group-wide defaults (level, category) to rows that do not set them."""
    props = _properties(defaults)
    for row in rows:
        for key, value in props.items():
            if key not in row and not any(key in e for e in row.get("elements", [])):
                row[key] = value
    return rows


def ordered(obj, keys):
    out = {k: obj[k] for k in keys if k in obj}
    out.update({k: obj[k] for k in PROPERTY_KEYS if k in obj and k not in out})
    unknown = set(obj) - set(out) - {"elements"}
    if unknown:
        raise ValueError("unexpected keys %s" % sorted(unknown))
    return out


def normalised_type(type_obj):
    """The type with every object in the one key order the files use."""
    params = []
    for p in type_obj["parameters"]:
        q = ordered(p, PARAM_KEYS)
        if "elements" in p:
            q["elements"] = [ordered(e, ELEMENT_KEYS) for e in p["elements"]]
        params.append(q)
    out = {k: type_obj[k] for k in ("name", "descriptor", "maxAxes") if k in type_obj}
    out["helpPages"] = [{"id": h["id"], "title": h["title"], "html": h["html"]} for h in type_obj["helpPages"]]
    out["parameters"] = params
    return out


def description_text(type_obj):
    document = {"format": "KxDeviceDescription", "version": 1, "types": [normalised_type(type_obj)]}
    return json.dumps(document, ensure_ascii=False, indent=2) + "\n"
