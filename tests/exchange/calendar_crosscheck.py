#!/usr/bin/python3
"""Checks wakebell-tool's iCalendar files against an independent reader and writer.

1. A table of every kind (made through a CSV import) is exported as iCalendar; the calendar
   library's expansion of each event's rule, its exceptions and its alarms over a year must give
   exactly the bells `wakebell-tool schedule` rings.
2. Events written by the library (floating, UTC and zoned times, every rule the program can ring)
   are imported; the schedule of the imported table must give the library's expansion of them,
   and each event the program cannot ring must be named on standard error, none imported.

Usage: calendar_crosscheck.py WAKEBELL-TOOL  (system python: python3-icalendar and
python3-recurring-ical-events, installed by scripts/setup)
"""
import datetime as dt
import os
import subprocess
import sys
import tempfile

import icalendar
import pytz
import recurring_ical_events

TOOL = sys.argv[1]
ENV = dict(os.environ, TZ="Asia/Tokyo")
WINDOW = (dt.datetime(2027, 1, 1), dt.datetime(2027, 12, 31, 23, 59, 59))
failures = []


def tool(*args, check=True):
    r = subprocess.run([TOOL, *args], env=ENV, capture_output=True, text=True)
    if check and r.returncode != 0:
        sys.exit(f"wakebell-tool {' '.join(args)} failed ({r.returncode}): {r.stderr}")
    return r


def schedule(data):
    """{slot: set of (moment, 'main'|'pre')} as the program rings them over the window."""
    out = tool("schedule", data, "--from", WINDOW[0].strftime("%Y/%m/%d %H:%M:%S"),
               "--to", WINDOW[1].strftime("%Y/%m/%d %H:%M:%S")).stdout
    bells = {}
    for line in out.splitlines():
        moment, slot, main, pre = line.split("\t")
        at = dt.datetime.strptime(moment, "%Y/%m/%d %H:%M:%S").replace(second=0)
        if main == "1":
            bells.setdefault(int(slot), set()).add((at, "main"))
        if pre == "1":
            bells.setdefault(int(slot), set()).add((at, "pre"))
    return bells


def to_local(moment):
    if moment.tzinfo is None:
        return moment
    return moment.astimezone(pytz.timezone("Asia/Tokyo")).replace(tzinfo=None)


def expand(calendar):
    """{event index: set of (minute, 'main'|'pre')}: each occurrence's alarms within the window.
    Bells are compared by the minute: the program rings two bells due at once a second apart."""
    events = [c for c in calendar.walk("VEVENT")]
    uids = {str(e["UID"]): i for i, e in enumerate(events)}
    margin = dt.timedelta(days=30)  # alarms of occurrences just outside the window
    bells = {}
    for occurrence in recurring_ical_events.of(calendar).between(WINDOW[0] - margin, WINDOW[1] + margin):
        index = uids[str(occurrence["UID"])]
        start = to_local(occurrence["DTSTART"].dt)
        for alarm in events[index].walk("VALARM"):
            trigger = alarm["TRIGGER"].dt
            at = start + trigger
            if WINDOW[0] <= at <= WINDOW[1]:
                bells.setdefault(index, set()).add((at.replace(second=0), "main" if trigger == dt.timedelta(0) else "pre"))
    return bells


def compare(what, expected, actual, names):
    for index in sorted(set(expected) | set(actual)):
        e, a = expected.get(index, set()), actual.get(index, set())
        if e != a:
            extra, missing = sorted(a - e)[:3], sorted(e - a)[:3]
            failures.append(f"{what} {names.get(index, index)}: the program rings {len(a)}, the library "
                            f"{len(e)}; only the program: {extra}; only the library: {missing}")


# ---- 1. our export, read by the library ----
TABLE = """種類,日付,時刻,曜日,祝日は鳴らさない,ベル,予鈴(分前),メッセージ
毎日,2026/12/20,07:30,,いいえ,本鈴,0,daily
毎日,2026/12/20,06:00,,はい,予鈴と本鈴,15,daily resting
毎週,2026/12/01,08:00,月水金,はい,予鈴と本鈴,10,weekly weekdays resting
毎週,2026/12/01,00:05,土日,いいえ,予鈴と本鈴,30,weekly pre-bell the evening before
毎月,2026/12/31,09:00,,いいえ,本鈴,0,monthly 31st
毎月,2027/01/15,12:00,,はい,予鈴,60,monthly pre-bell only resting
隔週,2026/12/23,18:00,月金,いいえ,予鈴と本鈴,5,biweekly from a Wednesday
隔週,2026/12/24,07:00,木,はい,本鈴,0,biweekly resting
第１,2026/12/01,10:00,月,いいえ,本鈴,0,first Monday
第２,2026/12/01,11:00,火水,はい,予鈴と本鈴,45,second Tuesday and Wednesday resting
第３,2026/12/01,13:00,日,いいえ,本鈴,0,third Sunday
第４,2026/12/01,14:00,金,はい,本鈴,0,fourth Friday resting
第５,2026/12/01,15:00,土日,いいえ,本鈴,0,fifth weekend
一回,2027/03/03,12:00,水,いいえ,予鈴と本鈴,20,once
ｸｲｯｸ,2027/02/02,12:34:56,火,いいえ,本鈴,0,quick timer
一回,2026/06/01,12:00,月,いいえ,本鈴,0,once in the past
毎週,2026/12/01,09:00,,いいえ,本鈴,0,weekly without a weekday
"""

with tempfile.TemporaryDirectory() as folder:
    data = os.path.join(folder, "Wakebell.dat")
    with open(os.path.join(folder, "WakebellDaysOff.txt"), "w", encoding="utf-8") as f:
        f.write("2027/08/13 夏季休暇\n2027/08/16 夏季休暇\n2027/12/29\n")
    sheet = os.path.join(folder, "table.csv")
    with open(sheet, "w", encoding="utf-8-sig", newline="") as f:
        f.write(TABLE.replace("\n", "\r\n"))
    tool("import", data, sheet)
    out = os.path.join(folder, "out.ics")
    tool("export", data, "--ics", out, "--now", "2027/01/01 00:00:00")
    with open(out, "rb") as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    names = {i: str(e["SUMMARY"]) for i, e in enumerate(calendar.walk("VEVENT"))}
    expected = expand(calendar)
    actual = schedule(data)
    if len(names) != TABLE.count("\n") - 1:
        failures.append(f"export: {len(names)} events for {TABLE.count(chr(10)) - 1} entries")
    if sum(len(b) for b in actual.values()) < 300:
        failures.append("export: the table rings too little for a useful check")
    compare("export", expected, actual, names)

# ---- 2. another program's file, read by the program ----
TOKYO = pytz.timezone("Asia/Tokyo")


def event(summary, start, rule=None, leads=(), **extra):
    e = icalendar.Event()
    e.add("uid", summary.replace(" ", "-") + "@example.com")
    e.add("dtstamp", dt.datetime(2026, 12, 1, tzinfo=pytz.utc))
    e.add("summary", summary)
    e.add("dtstart", start)
    if rule:
        e.add("rrule", rule)
    for lead in leads:
        a = icalendar.Alarm()
        a.add("action", "DISPLAY")
        a.add("description", summary)
        a.add("trigger", -dt.timedelta(minutes=lead))
        e.add_component(a)
    for k, v in extra.items():
        e.add(k, v)
    return e


shanghai = icalendar.Timezone()
shanghai.add("tzid", "Asia/Shanghai")
standard = icalendar.TimezoneStandard()
standard.add("dtstart", dt.datetime(1991, 9, 15))
standard.add("tzoffsetfrom", dt.timedelta(hours=9))
standard.add("tzoffsetto", dt.timedelta(hours=8))
standard.add("tzname", "CST")
shanghai.add_component(standard)

IMPORTED = [
    event("weekly tue thu", dt.datetime(2026, 11, 3, 7, 0), {"freq": "weekly", "byday": ["TU", "TH"]}, [10]),
    event("weekly default day", dt.datetime(2026, 11, 4, 21, 15), {"freq": "weekly"}),
    event("every other week", dt.datetime(2026, 11, 4, 6, 45), {"freq": "weekly", "interval": 2,
                                                               "byday": ["WE", "FR"]}, [0]),
    event("every other week from sunday", dt.datetime(2026, 11, 11, 8, 0),
          {"freq": "weekly", "interval": 2, "byday": ["MO", "WE"], "wkst": "SU"}),
    event("monthly 31st", dt.datetime(2026, 10, 31, 9, 30), {"freq": "monthly", "bymonthday": 31}),
    event("monthly by start", dt.datetime(2026, 11, 20, 9, 30), {"freq": "monthly"}, [5]),
    event("second tuesday", dt.datetime(2026, 11, 10, 19, 0), {"freq": "monthly", "byday": "+2TU"}),
    event("first monday and friday", dt.datetime(2026, 11, 2, 8, 0), {"freq": "monthly", "byday": ["1MO", "1FR"]}),
    event("daily", dt.datetime(2026, 11, 1, 5, 55), {"freq": "daily"}, [0]),
    event("daily on weekdays", dt.datetime(2026, 11, 2, 12, 0), {"freq": "daily", "byday": ["MO", "TU", "WE", "TH", "FR"]}),
    event("single", dt.datetime(2027, 4, 1, 10, 0), None, [15]),
    event("utc weekly into tuesday", dt.datetime(2026, 11, 2, 23, 30, tzinfo=pytz.utc), {"freq": "weekly", "byday": "MO"}),
    event("utc single", dt.datetime(2027, 5, 5, 1, 0, tzinfo=pytz.utc)),
]
zoned = event("shanghai daily", dt.datetime(2026, 11, 1, 7, 0), {"freq": "daily"})
zoned["DTSTART"].params["TZID"] = "Asia/Shanghai"
IMPORTED.append(zoned)
allday = event("all day", dt.date(2027, 2, 1))
SKIPPED = [
    event("yearly", dt.datetime(2026, 11, 1, 9, 0), {"freq": "yearly"}),
    event("with count", dt.datetime(2026, 11, 1, 9, 0), {"freq": "daily", "count": 5}),
    event("with until", dt.datetime(2026, 11, 1, 9, 0), {"freq": "weekly", "until": dt.datetime(2027, 6, 1)}),
    event("every third week", dt.datetime(2026, 11, 1, 9, 0), {"freq": "weekly", "interval": 3}),
    event("two reminders", dt.datetime(2027, 3, 1, 9, 0), None, [10, 30]),
    event("last friday", dt.datetime(2026, 11, 27, 9, 0), {"freq": "monthly", "byday": "-1FR"}),
    allday,
]

with tempfile.TemporaryDirectory() as folder:
    calendar = icalendar.Calendar()
    calendar.add("prodid", "-//Another calendar//EN")
    calendar.add("version", "2.0")
    calendar.add_component(shanghai)
    for e in IMPORTED + SKIPPED:
        calendar.add_component(e)
    source = os.path.join(folder, "other.ics")
    with open(source, "wb") as f:
        f.write(calendar.to_ical())
    data = os.path.join(folder, "Wakebell.dat")
    result = tool("import", data, source)
    for e in SKIPPED:
        if f'"{e["SUMMARY"]}"' not in result.stderr:
            failures.append(f"import: {e['SUMMARY']} was not named as skipped")
    for e in IMPORTED:
        if f'"{e["SUMMARY"]}"' in result.stderr:
            failures.append(f"import: {e['SUMMARY']} was skipped: {result.stderr}")
    for e in IMPORTED:  # a main bell at the start, as the program rings an event without alarms
        if not list(e.walk("VALARM")) or all(a["TRIGGER"].dt != dt.timedelta(0) for a in e.walk("VALARM")):
            a = icalendar.Alarm()
            a.add("action", "DISPLAY")
            a.add("trigger", dt.timedelta(0))
            e.add_component(a)
    only = icalendar.Calendar()
    only.add_component(shanghai)
    for e in IMPORTED:
        only.add_component(e)
    names = {i: str(e["SUMMARY"]) for i, e in enumerate(IMPORTED)}
    # Read back from its text, as the library reads any file: zoned times become its own.
    compare("import", expand(icalendar.Calendar.from_ical(only.to_ical())), schedule(data), names)

for f in failures:
    print("FAIL:", f)
print("calendar cross-check: " + ("ok" if not failures else f"{len(failures)} failures"))
sys.exit(1 if failures else 0)
