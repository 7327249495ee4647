#!/usr/bin/env python3
"""Loads a .clap as a host does (clap_entry, init, the plug-in factory) and
prints the id of every plug-in it offers, one a line."""
import ctypes
import sys

path = sys.argv[1]
library = ctypes.CDLL(path)
INIT = ctypes.CFUNCTYPE(ctypes.c_bool, ctypes.c_char_p)
DEINIT = ctypes.CFUNCTYPE(None)
GET_FACTORY = ctypes.CFUNCTYPE(ctypes.c_void_p, ctypes.c_char_p)


class Entry(ctypes.Structure):
    _fields_ = [("version", ctypes.c_uint32 * 3), ("init", INIT), ("deinit", DEINIT),
                ("get_factory", GET_FACTORY)]


class Descriptor(ctypes.Structure):
    _fields_ = [("version", ctypes.c_uint32 * 3), ("id", ctypes.c_char_p)]


COUNT = ctypes.CFUNCTYPE(ctypes.c_uint32, ctypes.c_void_p)
DESCRIPTOR = ctypes.CFUNCTYPE(ctypes.POINTER(Descriptor), ctypes.c_void_p, ctypes.c_uint32)


class Factory(ctypes.Structure):
    _fields_ = [("count", COUNT), ("descriptor", DESCRIPTOR)]


entry = Entry.in_dll(library, "clap_entry")
if entry.version[0] != 1 or not entry.init(path.encode()):
    sys.exit("clap_entry refused: version %d" % entry.version[0])
address = entry.get_factory(b"clap.plugin-factory")
if not address:
    sys.exit("no plug-in factory")
factory = Factory.from_address(address)
for index in range(factory.count(address)):
    print(factory.descriptor(address, index).contents.id.decode())
entry.deinit()
