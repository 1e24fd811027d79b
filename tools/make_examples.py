#!/usr/bin/env python3
"""Writes the sample event files in examples/.

Each event is a small traffic scene on a simply supported span: a few trucks in both
directions, placed with gaps between trucks of the same lane. For each load effect the scene is
moved through a few seconds and the moment of the largest effect is taken; the trucks with an
axle on the span at that moment are the effect's trucks. Effects:

  1  bending moment at midspan (kNm)
  2  reaction at the support at position 0 (kN)
  3  bending moment at a quarter of the span from position 0 (kNm)

Distance is the position (m from position 0) of the axle that adds most to the effect at that
moment.
A few effects are written with no trucks and a value of 0, as the simulation does when an
effect was not triggered.

Time stamps follow the viewer's rule: a truck in direction 1 is stamped when its front enters at
position 0; a truck in direction 2 when its front reaches position 0 at the far end of its
crossing.

Usage: tools/make_examples.py [output folder]   (default: the repo's examples/)
       tools/make_examples.py --events N --out PATH   (one file of N events, e.g. a long run)
The random seed is fixed, so the files come out the same on every run.
"""

import argparse
import random
from functools import reduce
from operator import add
from pathlib import Path

SECONDS_PER_DAY = 86_400
SECONDS_PER_MONTH = 25 * SECONDS_PER_DAY
SECONDS_PER_YEAR = 250 * SECONDS_PER_DAY
KN_PER_WEIGHT_UNIT = 0.981  # axle weights are written in units of 100 kg


class Truck:
    def __init__(self, rng, direction):
        self.direction = direction
        self.speed = rng.randint(150, 300)  # tenths of a metre per second
        self.axles = rng.choices([2, 3, 4, 5, 6, 7, 8, 9], [12, 14, 12, 35, 17, 5, 3, 2])[0]
        self.spacings = []
        for k in range(self.axles - 1):
            if k == 0:
                self.spacings.append(rng.randint(30, 60))
            elif rng.random() < 0.5:
                self.spacings.append(rng.randint(12, 14))  # tandem or tridem axle
            else:
                self.spacings.append(rng.randint(30, 75))
        self.weights = [rng.randint(50, 75)] + [rng.randint(40, 115) for _ in range(self.axles - 1)]
        self.length = sum(self.spacings) + rng.randint(15, 35)
        self.field15 = rng.randint(30, 45)
        self.time_sec = 0.0

    def front_at(self, t):
        """Front position (m) at time t."""
        v = self.speed / 10
        if self.direction == 1:
            return v * (t - self.time_sec)
        return v * (self.time_sec - t)

    def axle_positions(self, t):
        front = self.front_at(t)
        step = -1 if self.direction == 1 else 1  # the axles trail behind the front
        positions = [front]
        for s in self.spacings:
            positions.append(positions[-1] + step * s / 10)
        return positions

    def axle_loads(self, t):
        return zip(self.axle_positions(t), (w * KN_PER_WEIGHT_UNIT for w in self.weights))

    def line(self):
        hundredths = round(self.time_sec * 100)
        seconds, hs = divmod(hundredths, 100)
        year, rest = divmod(seconds, SECONDS_PER_YEAR)
        month, rest = divmod(rest, SECONDS_PER_MONTH)
        day, rest = divmod(rest, SECONDS_PER_DAY)
        hour, rest = divmod(rest, 3600)
        minute, second = divmod(rest, 60)
        assert year < 100
        text = (f"1001{day + 1:02d}{month + 1:02d}{year:02d}{hour:02d}{minute:02d}{second:02d}"
                f"{hs:02d}{self.speed:03d}{sum(self.weights):04d}{self.length:03d}"
                f"{self.axles:1d}1{self.direction:1d}{self.field15:03d}")
        weights = self.weights + [0] * (9 - len(self.weights))
        spacings = self.spacings + [0] * (8 - len(self.spacings))
        for k in range(8):
            text += f"{weights[k]:03d}{spacings[k]:02d}"
        text += f"{weights[8]:03d}"
        assert len(text) == 77, text
        return text


def influence(effect, x, span):
    """Effect of a unit load at position x, zero off the span."""
    if x < 0 or x > span:
        return 0.0
    if effect == 1:
        a = span / 2
    elif effect == 2:
        return (span - x) / span
    else:
        a = span / 4
    return x * (span - a) / span if x <= a else a * (span - x) / span


# The moments searched for an effect's largest value: t0 - 3 s to t0 + 3 s in steps of 0.01 s.
SEARCH_STEPS = range(-300, 301)


def loads_on_span(trucks, t0, span):
    """For each searched moment, the (position, load) of every axle on the span, in truck and
    axle order, or None when no axle is on it. Axles off the span add nothing to any effect, so
    they are left out; positions and loads are computed exactly as axle_loads computes them."""
    shapes = []
    for truck in trucks:
        step = -1 if truck.direction == 1 else 1
        offsets = [step * s / 10 for s in truck.spacings]
        loads = [w * KN_PER_WEIGHT_UNIT for w in truck.weights]
        # Every axle lies within reach of the front, on the side the truck came from; the metre
        # added covers rounding.
        reach = sum(truck.spacings) / 10 + 1
        if truck.direction == 1:
            low, high = 0, span + reach
        else:
            low, high = -reach, span
        shapes.append((truck.direction == 1, truck.speed / 10, truck.time_sec, low, high,
                       loads[0], list(zip(offsets, loads[1:]))))
    moments = []
    for step in SEARCH_STEPS:
        t = t0 + step / 100
        on_span = []
        for forward, v, time_sec, low, high, first_load, rest in shapes:
            x = v * (t - time_sec) if forward else v * (time_sec - t)
            if x < low or x > high:
                continue
            if 0 <= x <= span:
                on_span.append((x, first_load))
            for offset, w in rest:
                x = x + offset
                if 0 <= x <= span:
                    on_span.append((x, w))
        moments.append(on_span or None)
    return moments


def effect_value(effect, loads, span):
    """The sum of w * influence(effect, x, span) over the loads, added in order."""
    if effect == 2:
        return reduce(add, [w * ((span - x) / span) for x, w in loads], 0)
    a = span / 2 if effect == 1 else span / 4
    rest = span - a
    return reduce(add, [w * (x * rest / span if x <= a else a * (span - x) / span)
                        for x, w in loads], 0)


def on_span(truck, t, span):
    return any(0 <= x <= span for x in truck.axle_positions(t))


def place_lane(rng, trucks, span, t0):
    """At t0 the leader's front is well onto the span and each follower is a gap behind."""
    travelled = rng.uniform(0.3, 0.95) * span  # how far the front is past its entry end
    leader = None
    for truck in trucks:
        if leader is not None:
            travelled -= leader.length / 10 + rng.uniform(4, 20)
            truck.speed = min(truck.speed, leader.speed)  # no overtaking within the scene
        v = truck.speed / 10
        if truck.direction == 1:
            truck.time_sec = t0 - travelled / v  # front at position 0 when entering
        else:
            truck.time_sec = t0 + (span - travelled) / v  # front at position 0 when leaving
        leader = truck


def make_event(rng, span, t0, no_effects):
    trucks = []
    for direction in (1, 2):
        count = rng.choices([0, 1, 2], [25, 55, 20])[0]
        lane = [Truck(rng, direction) for _ in range(count)]
        place_lane(rng, lane, span, t0)
        trucks.extend(lane)
    if not trucks:
        trucks = [Truck(rng, rng.choice((1, 2)))]
        place_lane(rng, trucks, span, t0)

    lines = []
    loads = None
    for effect in range(1, no_effects + 1):
        if rng.random() < 0.08:
            lines.append(effect_line(effect, 0.0, t0, 0.0, 0))
            continue
        if loads is None:
            loads = loads_on_span(trucks, t0, span)
        best_t, best_value = t0, -1.0
        for step, on_span_loads in zip(SEARCH_STEPS, loads):
            # With no axle on the span the value is 0, which only the first moment can beat.
            if on_span_loads is None and best_value >= 0:
                continue
            value = effect_value(effect, on_span_loads or [], span)
            if value > best_value:
                best_t, best_value = t0 + step / 100, value
        crossing = sorted((tr for tr in trucks if on_span(tr, best_t, span)),
                          key=lambda tr: tr.time_sec)
        if not crossing:
            lines.append(effect_line(effect, 0.0, t0, 0.0, 0))
            continue
        distance = max(((w * influence(effect, x, span), x)
                        for truck in crossing for x, w in truck.axle_loads(best_t)))[1]
        lines.append(effect_line(effect, best_value, best_t, distance, len(crossing)))
        lines.extend(tr.line() for tr in crossing)
    return lines


def effect_line(effect, value, time, distance, trucks):
    # EffectNo starts in column 1: a leading blank would be skipped when the file is read.
    text = f"{effect:<2d}{value:10.2f}{time:15.2f}{distance:10.2f} {trucks:4d}"
    assert len(text) == 42, text
    return text


def make_file(rng, span, events, no_effects, first_event_no):
    lines = []
    event_no = first_event_no
    # Event numbers have six columns and years two: a long run numbers its events more densely
    # and spaces them more closely in time.
    max_step = min(2000, max(1, (999_999 - first_event_no) // max(events, 1)))
    time_scale = min(1.0, 24_000 / (6 * max(events, 1)))
    t = SECONDS_PER_YEAR + rng.uniform(0, SECONDS_PER_DAY)  # year 1, month 1, day 1
    for _ in range(events):
        lines.append(str(event_no))
        lines.extend(make_event(rng, span, round(t, 2), no_effects))
        event_no += rng.randint(1, max_step)
        gap = rng.uniform(0.5, 6)
        t += (gap if time_scale == 1.0 else gap * time_scale) * SECONDS_PER_DAY
    assert event_no < 1_000_000
    return lines


def write(path, lines, line_end):
    with open(path, "w", newline="") as out:
        out.write("".join(line + line_end for line in lines))


def main():
    parser = argparse.ArgumentParser(description="Writes sample event files.")
    parser.add_argument("folder", nargs="?", type=Path,
                        default=Path(__file__).resolve().parent.parent / "examples",
                        help="where the two sample files go (default: the repo's examples/)")
    parser.add_argument("--events", type=int,
                        help="instead, write one file of this many events (span 30 m, CRLF)")
    parser.add_argument("--out", type=Path, help="the file --events writes")
    args = parser.parse_args()
    if args.events is not None:
        if args.out is None or args.events < 1:
            parser.error("--events needs a positive count and --out PATH")
        args.out.parent.mkdir(parents=True, exist_ok=True)
        # Written to the side first, so a run cut short never leaves a partial file in place.
        partial = args.out.with_name(args.out.name + ".partial")
        write(partial, make_file(random.Random(20240917), 30.0, args.events, 3, 1), "\r\n")
        partial.replace(args.out)
        return
    args.folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20240917)
    write(args.folder / "Events_30_sample.txt", make_file(rng, 30.0, 40, 3, 3), "\r\n")
    write(args.folder / "events_no_span.txt", make_file(rng, 25.0, 5, 3, 101), "\n")


if __name__ == "__main__":
    main()
