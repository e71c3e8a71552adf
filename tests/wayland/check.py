#!/usr/bin/python3
# check.py OUT SCENARIO...: the pass/fail checks of a sway scenario (A, B) from its steps.log,
# reading only the PS/2 keyboard's LEDs (input0) and the compositor's lock state as physical key
# probes show it. Exits 1 when a check fails or a scenario has no results.
import re, sys

def parse(path):
    leds, samples, held, status = {}, {}, [], None
    for line in open(path, errors="replace"):
        if m := re.search(r"\] LEDS (.*?): (input.*)$", line):
            leds[m[1]] = dict(kv.split("=") for kv in m[2].split())
        elif m := re.search(r"\] SAMPLE (.*?): (.*)$", line):
            samples[m[1]] = dict(kv.split("=") for kv in m[2].split())
        elif m := re.search(r"evtest --query \S+ EV_KEY (\d+) -> (\d+)", line):
            held.append((m[1], m[2]))
        elif m := re.search(r"tintaro exit status (\d+)", line):
            status = int(m[1])
    return leds, samples, held, status

def ps2(leds, moment, led):
    for label, values in leds.items():
        if label.startswith(moment):
            return values.get("input0::" + led)
    return None

def checks(leds, samples, held, status):
    dark = lambda moment: all(ps2(leds, moment, l) == "0" for l in ("numlock", "capslock", "scrolllock"))
    blink = samples.get("effect All running", {})
    return [
        ("start-up reset puts the compositor's Caps Lock out (dark, one physical press lights it)",
         ps2(leds, "3 s after window", "capslock") == "0"
         and ps2(leds, "probe: physical Caps after start-up", "capslock") == "1"),
        ("on-screen Num lights the PS/2 Num LED", ps2(leds, "after click on on-screen Num", "numlock") == "1"),
        ("on-screen Scroll lights the PS/2 Scroll LED",
         ps2(leds, "after click on on-screen Scroll", "scrolllock") == "1"),
        ("second clicks put Num and Scroll out",
         ps2(leds, "after second clicks", "numlock") == "0" and ps2(leds, "after second clicks", "scrolllock") == "0"),
        ('"All" blinks all three PS/2 LEDs',
         all(blink.get("input0::" + l) == "01" for l in ("numlock", "capslock", "scrolllock"))),
        ("Stop leaves the PS/2 LEDs dark", dark("after Stop")),
        ("exit leaves the PS/2 LEDs dark", dark("after Tintaro exit")),
        ("no key of Tintaro's held", bool(held) and all(code == "0" for _, code in held)),
        ("Tintaro ends with status 0 on SIGTERM", status == 0),
    ]

failed = 0
for scenario in sys.argv[2:]:
    try:
        results = checks(*parse(f"{sys.argv[1]}/{scenario}/steps.log"))
    except OSError as error:
        results = [(f"results ({error.strerror})", False)]
    for name, ok in results:
        print(f"{'PASS' if ok else 'FAIL'} {scenario}: {name}")
        failed += not ok
print(f"{failed} check(s) failed" if failed else "all checks passed")
sys.exit(1 if failed else 0)
