"""What the tests share: a suit port of their own and a simulated suit on it."""
from __future__ import annotations

import ctypes
import os
import socket
import subprocess

import varnel


def use_own_suit_port() -> int:
    """Makes the next VarnelInit bind a free port instead of the suits' port."""
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("", 0))
        port = probe.getsockname()[1]
    varnel.lib.VarnelTestSetSuitPort.argtypes = [ctypes.c_uint16]
    varnel.lib.VarnelTestSetSuitPort(port)
    return port


class SimulatedSuit:
    """`varnel simulate` walking a suit to the port while in the with-block."""

    def __init__(self, port: int, name: str = "PySuit", seconds: int = 60) -> None:
        self.command = [os.environ["VARNEL_CLI"], "simulate", "--to", f"127.0.0.1:{port}",
                        "--name", name, "--seconds", str(seconds), "--lead-in", "1"]

    def __enter__(self) -> SimulatedSuit:
        self.process = subprocess.Popen(self.command, stdout=subprocess.PIPE,
                                        stderr=subprocess.STDOUT, text=True)
        first = self.process.stdout.readline()
        if not first.startswith("Simulating"):
            self.__exit__()
            raise RuntimeError(f"the simulator did not start: {first}")
        return self

    def __exit__(self, *exc_info: object) -> None:
        self.process.terminate()
        self.process.wait(timeout=10)
        self.process.stdout.close()
