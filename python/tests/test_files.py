import math
import os
import tempfile
import threading
import unittest

import varnel
from varnel.errors import checked
from varnel.records import ActorBone, ActorTweak

try:
    import numpy
except ImportError:
    numpy = None


def swaying_take(count: int) -> varnel.Take:
    take = varnel.Take(frame_time=1 / 30)
    for index in range(count):
        frame = varnel.SkeletonFrame(counter=index)
        for channel in range(len(frame.channels)):
            frame.channels[channel] = 20 * math.sin(0.1 * index + channel)
        frame.channels[2] += 40  # the hips above the floor
        take.append(frame)
    return take


class FileTest(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name

    def test_a_written_take_reads_back(self):
        take = swaying_take(12)
        path = os.path.join(self.folder, "take.bvh")
        varnel.write_bvh(path, take)
        back = varnel.read_bvh(path)
        self.assertEqual(len(back), len(take))
        self.assertAlmostEqual(back.frame_time, take.frame_time, places=5)
        self.assertEqual(back.node_names, take.node_names)
        for written, read in zip(take, back):
            for a, b in zip(written.channels, read.channels):
                self.assertAlmostEqual(a, b, places=3)

    def test_an_actor_reads_back_in_every_unit(self):
        actor = varnel.default_actor()
        actor.bones[ActorBone.Spine] += 1.25
        actor.tweaks[ActorTweak.NeckY] = -7.5
        path = os.path.join(self.folder, "actor.ini")
        for units in varnel.Units:
            with self.subTest(units=units.name):
                varnel.write_actor(path, actor, units)
                back = varnel.read_actor(path)
                for group in ("bones", "displacements", "tweaks", "scales"):
                    for a, b in zip(getattr(actor, group), getattr(back, group)):
                        self.assertAlmostEqual(a, b, delta=1e-4 * max(1, abs(a)))

    def test_library_failures_raise_its_message(self):
        broken = os.path.join(self.folder, "broken.bvh")
        with open(broken, "w") as file:
            file.write("HIERARCHY\nROOT Nothing\n")
        with self.assertRaisesRegex(varnel.VarnelError, f"format.*{broken}"):
            varnel.read_bvh(broken)
        with self.assertRaisesRegex(varnel.VarnelError, "open file .*missing"):
            varnel.write_bvh(os.path.join(self.folder, "missing", "take.bvh"), swaying_take(1))
        actor = varnel.default_actor()
        actor.bones[0] = math.nan
        with self.assertRaises(varnel.VarnelError):
            varnel.write_actor(os.path.join(self.folder, "nan.ini"), actor)

    def test_messages_of_a_call_that_succeeds_arrive_as_warnings(self):
        with self.assertWarnsRegex(varnel.VarnelWarning, "within a call"):
            checked(varnel.lib.VarnelMessageBox, b"within a call")
        # Outside any call, as from the library's own threads.
        with self.assertWarnsRegex(varnel.VarnelWarning, "on a thread"):
            thread = threading.Thread(target=varnel.lib.VarnelMessageBox, args=(b"on a thread",))
            thread.start()
            thread.join()

    @unittest.skipIf(numpy is None, "numpy is not installed")
    def test_world_positions_as_numpy_match_the_tuples(self):
        take = swaying_take(3)
        array = take.world_positions(take[2], as_numpy=True)
        self.assertEqual(array.shape, (len(varnel.Node), 3))
        numpy.testing.assert_allclose(array, take.world_positions(take[2]), rtol=1e-6)


if __name__ == "__main__":
    unittest.main()
