#!/usr/bin/python3
"""Serves one controller of a device description over Modbus TCP with pymodbus.

Written apart from the suite, from the documented register map only, so that
the suite's client is tested against a server it shares no code with. Only
explicit maps ("registerMap" and "register") are supported. Writes are stored
as they come, without any checks.

Prints "name<TAB>127.0.0.1:port<TAB>unit 1" once it listens.
"""

import argparse
import asyncio
import json
import math
import struct
import sys

from pymodbus.datastore import ModbusSequentialDataBlock, ModbusServerContext, ModbusSlaveContext
from pymodbus.server.async_io import ModbusTcpServer
from pymodbus.transaction import ModbusSocketFramer

PROPERTY_KEYS = ("kind", "min", "max", "decimals", "choices", "default", "writable", "hasValue")
WIDTH = {"int16": 1, "uint16": 1, "int32": 2, "uint32": 2, "float32": 2}


def elements_of(parameter):
    """The elements with their merged properties, in order, as (index, properties, own register)."""
    base = {k: v for k, v in parameter.items() if k in PROPERTY_KEYS}
    result = []
    if "elements" in parameter:
        for position, element in enumerate(parameter["elements"]):
            props = dict(base)
            if isinstance(base.get("default"), list):
                props["default"] = base["default"][position]
            props.update({k: v for k, v in element.items() if k in PROPERTY_KEYS})
            result.append((element.get("index", position), props, element.get("register")))
    else:
        count = parameter.get("count", 1) if parameter.get("structure") == "array" else 1
        for position in range(count):
            props = dict(base)
            if isinstance(base.get("default"), list):
                props["default"] = base["default"][position]
            result.append((position, props, None))
    return result


def natural_default(props):
    kind = props.get("kind", "number")
    if "default" in props:
        value = props["default"]
        if kind == "switch" and isinstance(value, bool):
            return int(value)
        return value
    if kind == "choice":
        return props["choices"][0]["value"]
    if kind == "text":
        return ""
    if kind == "switch":
        return 0
    return props.get("min", 0)


def encode(value, props, register):
    kind = props.get("kind", "number")
    rtype = register["type"]
    if rtype == "string":
        data = str(value).encode("utf-8").ljust(2 * register["count"], b"\0")
        return [data[i] << 8 | data[i + 1] for i in range(0, len(data), 2)]
    number = float(value)
    if kind == "number":
        if "scale" in register:
            scale = register["scale"]
        elif "decimals" in register:
            scale = 10.0 ** -register["decimals"]
        else:
            scale = 1.0 if rtype == "float32" else 10.0 ** -props.get("decimals", 0)
        number = number / scale
    if rtype == "float32":
        (word,) = struct.unpack(">I", struct.pack(">f", number))
    else:
        word = int(round(number)) & (0xFFFF if WIDTH[rtype] == 1 else 0xFFFFFFFF)
    if WIDTH[rtype] == 1:
        return [word]
    high, low = word >> 16, word & 0xFFFF
    return [low, high] if register.get("wordOrder") == "low-first" else [high, low]


def registers_of(description, controller_name):
    types = {t["name"]: t for t in description.get("types", [])}
    controllers = description["controllers"]
    controller = next((c for c in controllers if c["name"] == controller_name), controllers[0]) if controller_name else controllers[0]
    device_type = types[controller["type"]]
    spaces = device_type["registerMap"]
    bases = {0: spaces.get("device", {}).get("base", 0)}
    for axis in spaces.get("axes", []):
        bases[axis["axis"]] = axis.get("base", 0)
    given = {}
    for value in controller.get("values", []):
        given[(value["coordinate"], value.get("axis", 0), value.get("element", 0))] = value["value"]
    axes = [a["number"] for a in controller["axes"]]

    image = {}
    for parameter in device_type["parameters"]:
        spaces_of_parameter = [0] if parameter.get("scope") == "device" else parameter.get("definedIn", axes)
        first = parameter["register"]
        address = None
        for index, props, own in elements_of(parameter):
            if props.get("hasValue", True) is False:
                continue
            register = dict(first)
            if address is not None:
                register["address"] = address
            if own:
                register.update(own)
            width = register["count"] if register["type"] == "string" else WIDTH[register["type"]]
            address = register["address"] + width
            for space in spaces_of_parameter:
                if space not in bases or (space and space not in axes):
                    continue
                value = given.get((parameter["coordinate"], space, index), natural_default(props))
                for offset, word in enumerate(encode(value, props, register)):
                    image[bases[space] + register["address"] + offset] = word
    return controller["name"], image


async def serve(arguments):
    with open(arguments.description, encoding="utf-8") as file:
        description = json.load(file)
    name, image = registers_of(description, arguments.controller)
    values = [0] * 65536
    for address, word in image.items():
        values[address] = word
    block = ModbusSequentialDataBlock(0, values)
    context = ModbusServerContext(slaves=ModbusSlaveContext(hr=block, zero_mode=True), single=True)
    server = ModbusTcpServer(context, ModbusSocketFramer, address=(arguments.host, arguments.port), allow_reuse_address=True)
    task = asyncio.ensure_future(server.serve_forever())
    await server.serving
    print(f"{name}\t{arguments.host}:{arguments.port}\tunit 1", flush=True)
    await task


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("description")
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--controller")
    asyncio.run(serve(parser.parse_args()))


if __name__ == "__main__":
    sys.exit(main())
