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
The random seed is fixed, so the files come out the same on every run.
"""

import random
import sys
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
    for effect in range(1, no_effects + 1):
        if rng.random() < 0.08:
            lines.append(effect_line(effect, 0.0, t0, 0.0, 0))
            continue
        best_t, best_value = t0, -1.0
        for step in range(-300, 301):
            t = t0 + step / 100
            value = sum(w * influence(effect, x, span)
                        for truck in trucks for x, w in truck.axle_loads(t))
            if value > best_value:
                best_t, best_value = t, value
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
    t = SECONDS_PER_YEAR + rng.uniform(0, SECONDS_PER_DAY)  # year 1, month 1, day 1
    for _ in range(events):
        lines.append(str(event_no))
        lines.extend(make_event(rng, span, round(t, 2), no_effects))
        event_no += rng.randint(1, 2000)
        t += rng.uniform(0.5, 6) * SECONDS_PER_DAY
    assert event_no < 1_000_000
    return lines


def write(path, lines, line_end):
    with open(path, "w", newline="") as out:
        out.write("".join(line + line_end for line in lines))


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "examples"
    folder.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20240917)
    write(folder / "Events_30_sample.txt", make_file(rng, 30.0, 40, 3, 3), "\r\n")
    write(folder / "events_no_span.txt", make_file(rng, 25.0, 5, 3, 101), "\n")


if __name__ == "__main__":
    main()
