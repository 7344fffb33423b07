import io
import itertools
import math
import os
import re
import socket
import unittest
from contextlib import redirect_stdout
from pathlib import Path

import support
import varnel


class SuitTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.port = support.use_own_suit_port()
        cls.suit = support.SimulatedSuit(cls.port)
        cls.suit.__enter__()
        cls.addClassCleanup(cls.suit.__exit__)

    def tearDown(self):
        varnel.finish()

    def test_frames_arrive_through_the_iterator_with_finite_positions(self):
        suits = varnel.find_suits()
        self.assertEqual([info.suit_name for info in suits], ["PySuit"])
        with varnel.open_suit(suits[0]) as suit:
            frames = list(itertools.islice(suit.frames(timeout=5), 30))
            positions = varnel.world_positions(frames[-1], suit.actor)
        counters = [frame.counter for frame in frames]
        self.assertEqual(counters, sorted(set(counters)))
        self.assertEqual(len(positions), len(varnel.Node))
        for x, y, z in positions + [frame.hips_position for frame in frames]:
            self.assertTrue(all(map(math.isfinite, (x, y, z))))
        # Finished: the iterator gives what was queued and ends.
        list(suit.frames(timeout=1))

    def test_the_readme_snippet_prints_five_frames(self):
        readme = Path(os.environ["README"]).read_text()
        snippet = re.search(r"## Python.*?```python\n(.*?)```", readme, re.S).group(1)
        output = io.StringIO()
        with redirect_stdout(output):
            exec(snippet, {})
        self.assertEqual(len(output.getvalue().splitlines()), 5)

    def test_library_failures_raise_its_message(self):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as holder:
            holder.bind(("", self.port))
            with self.assertRaisesRegex(varnel.VarnelError, "ADDRINUSE"):
                varnel.find_suits()
        with varnel.open_suit(varnel.find_suits()[0]):
            with self.assertRaises(varnel.VarnelError):
                varnel.find_suits()


if __name__ == "__main__":
    unittest.main()
