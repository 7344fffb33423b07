#!/usr/bin/env python3
"""record_take.py: records a few seconds of the first Varnel suit on the
network into a BVH file.

Usage: record_take.py OUT.bvh [SECONDS]   (default 5)
Needs: pip install ./python (the varnel package) and the installed library.

Exit status 0 when the take was written, 1 for no suit, no frame or a failed
write, 2 when the suit port cannot be opened.
"""
import sys

import varnel


def main(argv: list) -> int:
    try:
        seconds = int(argv[2]) if len(argv) > 2 else 5
    except ValueError:
        seconds = 0
    if len(argv) not in (2, 3) or seconds <= 0:
        print("usage: record_take.py OUT.bvh [SECONDS]", file=sys.stderr)
        return 2
    path = argv[1]

    try:
        suits = varnel.find_suits()
    except varnel.VarnelError as error:
        print(f"record_take: {error}", file=sys.stderr)
        return 2
    if not suits:
        print("No Varnel suits detected")
        varnel.finish()
        return 1
    # The library calibrates the suit on its first datagram after the open:
    # the wearer stands in the null pose when the program starts.
    with varnel.open_suit(suits[0]) as suit:
        # The suit's actor and rate, so that the file plays back as it moved.
        take = varnel.Take(suit.actor, frame_time=1 / suit.frame_rate)
        print(f"Recording {suits[0]} for {seconds} s", flush=True)
        try:
            for frame in suit.frames(seconds):
                take.append(frame)
        except TimeoutError:
            pass  # the suit fell silent: keep what came

    if not take:
        print(f"record_take: no frame was recorded; {path} not written", file=sys.stderr)
        return 1
    try:
        varnel.write_bvh(path, take)
    except varnel.VarnelError as error:
        print(f"record_take: {error}", file=sys.stderr)
        return 1
    print(f"Wrote {len(take)} frames to {path}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
