import ctypes
import re
import socket
import struct
import unittest
from pathlib import Path

import varnel
from varnel import _library, records

HEADER = Path(__file__).resolve().parents[2] / "include" / "varnel.h"


class RecordTest(unittest.TestCase):
    def test_every_record_has_the_size_c_gives_it(self):
        size_in_c = varnel.lib.VarnelTestRecordSize
        size_in_c.argtypes = [ctypes.c_char_p]
        size_in_c.restype = ctypes.c_size_t
        for record, size in records.SIZES.items():
            with self.subTest(record=record.__name__):
                self.assertEqual(ctypes.sizeof(record), size_in_c(record.__name__.encode()))
                self.assertEqual(ctypes.sizeof(record), size)

    def test_every_function_of_the_header_is_declared(self):
        exported = set(re.findall(r"VARNEL_API [^;(]*\b(Varnel[A-Za-z]+)\(", HEADER.read_text()))
        self.assertEqual(set(_library._DECLARATIONS), exported)

    def test_suit_info_reads_network_byte_order(self):
        address = struct.unpack("=I", bytes([10, 1, 2, 3]))[0]
        info = records.SuitInfo(address=address, port=socket.htons(8001), name=b"Blue")
        self.assertEqual(str(info), '"Blue" at 10.1.2.3:8001')


if __name__ == "__main__":
    unittest.main()
