"""Reads an exported file with independent parsers and prints what they found as JSON.

csv: Python's csv module; a list of rows (dicts by header).
ics: python3-icalendar; a list of events with uid, summary, location, description, start, end.
"""
import csv
import json
import sys


def read_csv(path):
    with open(path, encoding="utf-8", newline="") as f:
        return list(csv.DictReader(f))


def read_ics(path):
    import icalendar

    with open(path, "rb") as f:
        calendar = icalendar.Calendar.from_ical(f.read())
    events = []
    for event in calendar.walk("VEVENT"):
        end = event.get("DTEND")
        events.append({
            "uid": str(event["UID"]),
            "summary": str(event.get("SUMMARY", "")),
            "location": str(event.get("LOCATION", "")),
            "description": str(event.get("DESCRIPTION", "")),
            "start": event.decoded("DTSTART").isoformat(),
            "end": event.decoded("DTEND").isoformat() if end is not None else "",
        })
    return events


if __name__ == "__main__":
    mode, path = sys.argv[1], sys.argv[2]
    if mode == "ics":
        try:
            import icalendar  # noqa: F401
        except ImportError:
            sys.exit(77)
    json.dump(read_csv(path) if mode == "csv" else read_ics(path), sys.stdout, ensure_ascii=False)
