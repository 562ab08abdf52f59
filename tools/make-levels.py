#!/usr/bin/env python3
"""Writes the game's level plan into the staged content from its description.

The description (content/media/levels.json) gives level 1 as it is played, and the rules that
grow the other levels of the four acts of eleven from it: each act's setting, hero and colours
(the second number from the place "morePlacesFrom" of the act on), the day's length and the
number of clients by place and act, the client types as they are introduced, and from which
place of an act friends come in pairs. The clients of a level are drawn from the types known by
then with a generator seeded by the level's number, so the plan is the same at every build.

Written into the content folder:
- "levels/common/LevelConfigs.xml" and "LevelConfigsEasy.xml": both difficulties' level lists,
  which differ in their targets and the length of their days;
- the briefing texts "Briefing<act>.<place>" of every level, added to "strings/Dictionary.xml":
  the level's own text where the description has one, else the new client's introduction or a
  text of the day, "#n" standing for the clients, "#m" the minutes, "#k" the colours and "#c"
  the new client type;
- the settings after the first ("levels/setting<N>/Level.qscn" and "TemplateCollection.qscn"):
  setting 1's files with the replacements the description lists for each (every text replaced
  must occur once), and the pictures of setting 1's "images" folder that the setting does not
  draw itself. So the content folder must already hold setting 1's files and pictures;
- each setting's upgrade catalogues "Upgrades.xml" and "UpgradesEasy.xml": the free upgrades
  that build the act's hero and dance pads at its first level, and the pads of the colours that
  come later in the act at the level they come (unbuilt until then: a first item without type).

Usage: tools/make-levels.py DESCRIPTION.json CONTENT-FOLDER
"""
import json
import os
import random
import shutil
import sys
from xml.sax.saxutils import escape, quoteattr

LEVELS = 43
ACT_LENGTH = 11
DANCE_PADS = "DancePad{}"
PAD_TEMPLATE = "DancePad1"


def act_and_place(level):
    return (level - 1) // ACT_LENGTH, (level - 1) % ACT_LENGTH + 1


def colours_of(plan, level):
    if level == 1:
        return 2
    act, place = act_and_place(level)
    low, high = plan["acts"][act]["colours"]
    return high if place >= plan["morePlacesFrom"] else low


def day_seconds(plan, level):
    if level == 1:
        return plan["first"]["time"]
    act, place = act_and_place(level)
    rule = plan["time"]
    return rule["base"] + rule["perPlace"] * (place - 1) + rule["perAct"] * act


def clients_count(plan, level):
    act, place = act_and_place(level)
    rule = plan["clientsCount"]
    return (rule["base"] + rule["perPlace"] * place + rule["perAct"] * act +
            rule["everyThirdPlace"] * (place // 3))


def client_pool(plan, level):
    """The client types known by the level, in the order they came in."""
    pool = [plan["first"]["newClient"]]
    pool += [name for first, name in sorted(plan["newClients"].items(), key=lambda e: int(e[0]))
             if int(first) <= level]
    return pool


def new_client(plan, level):
    if level == 1:
        return plan["first"]["newClient"]
    return plan["newClients"].get(str(level))


def queue(plan, level):
    """The level's "ClientsQueue" entries as attribute lists, in order."""
    if level == 1:
        return [dict(entry) for entry in plan["first"]["clients"]]
    random_source = random.Random(level)
    act, place = act_and_place(level)
    pool = client_pool(plan, level)
    introduced = new_client(plan, level)
    colours = colours_of(plan, level)
    pairs_from = plan["acts"][act]["pairsFrom"]
    wish = plan["wishList"]
    entries = []
    left = clients_count(plan, level)
    while left > 0:
        index = len(entries)
        name = introduced if introduced and index % 3 == 1 else random_source.choice(pool)
        size = 2 if pairs_from and place >= pairs_from and index % 4 == 3 and left > 1 else 1
        picked = [str(random_source.randint(1, colours)) for _ in range(size)]
        entries.append({"Name": name, "WishLists": ";".join([wish] * size),
                        "Colors": ";".join(picked)})
        left -= size
    # Spread over the first part of the day, each delay counted from the entry before.
    last = plan["lastArrival"] * day_seconds(plan, level) * 1000
    spacing = (last - 2000) / max(1, len(entries) - 1)
    for index, entry in enumerate(entries):
        delay = 2000 if index == 0 else spacing * random_source.uniform(0.7, 1.3)
        entry["Time"] = int(round(delay / 100.0)) * 100
    return [{key: entry[key] for key in ("Name", "Time", "WishLists", "Colors")}
            for entry in entries]


def targets(plan, difficulty, level):
    if level == 1:
        return dict(difficulty["first"])
    people = clients_count(plan, level)
    money = difficulty["moneyPerClient"]
    hearts = difficulty["heartsPerClient"]

    def tens(value):
        return int(round(value / 10.0)) * 10

    return {"TargetMoney": tens(people * money[0]), "TargetExpertMoney": tens(people * money[1]),
            "TargetMasterMoney": tens(people * money[2]),
            "TargetHearts": int(people * hearts[0]), "TargetExpertHearts": int(people * hearts[1])}


def level_record(plan, difficulty, level):
    act, _ = act_and_place(level)
    seconds = day_seconds(plan, level)
    if level != 1:
        seconds = int(round(seconds * difficulty["timeScale"]))
    colours = colours_of(plan, level)
    lines = ["\t<Level>"]

    def value(name, text):
        lines.append(f"\t\t<{name} Value={quoteattr(str(text))} />")

    value("LevelIndex", level)
    value("SettingIndex", plan["acts"][act]["setting"])
    value("HeroType", plan["acts"][act]["hero"])
    value("ColorsCount", colours)
    value("LevelTime", seconds)
    for name, target in targets(plan, difficulty, level).items():
        value(name, target)
    if new_client(plan, level):
        value("NewClientName", new_client(plan, level))
    lines.append("\t\t<LocationTypes>")
    for pad in range(1, colours + 1):
        lines.append(f"\t\t\t<Location Place=\"{DANCE_PADS.format(pad)}\" "
                     f"Template=\"{PAD_TEMPLATE}\" Color=\"{pad}\" />")
    lines.append("\t\t</LocationTypes>")
    lines.append("\t\t<ClientsQueue>")
    for entry in queue(plan, level):
        attributes = " ".join(f"{key}={quoteattr(str(text))}" for key, text in entry.items())
        lines.append(f"\t\t\t<Client {attributes} />")
    lines.append("\t\t</ClientsQueue>")
    lines.append("\t</Level>")
    return lines


def level_list(plan, difficulty):
    lines = ["<?xml version=\"1.0\" encoding=\"utf-8\"?>",
             f"<LevelsConfiguration SwapBonus=\"{plan['swapBonus']}\" "
             f"SuperDanceClickWaitTime=\"{plan['superDanceClickWaitTime']}\">"]
    for level in range(1, LEVELS + 1):
        lines += level_record(plan, difficulty, level)
    lines.append("\t<NextClientPlaceBoosts>")
    for boost in plan["nextClientPlaceBoosts"]:
        attributes = " ".join(f"{key}={quoteattr(text)}" for key, text in boost.items())
        lines.append(f"\t\t<Client {attributes} />")
    lines.append("\t</NextClientPlaceBoosts>")
    lines.append("</LevelsConfiguration>")
    return "\n".join(lines) + "\n"


def briefing(plan, level):
    act, place = act_and_place(level)
    own = plan["briefings"].get(f"{act + 1}.{place}")
    if own:
        return own
    if new_client(plan, level):
        return plan["newClientBriefing"].replace("#c", new_client(plan, level))
    text = plan["dayBriefings"][level % len(plan["dayBriefings"])]
    minutes = max(1, round(day_seconds(plan, level) / 60))
    return (text.replace("#n", str(clients_count(plan, level))).replace("#m", str(minutes))
            .replace("#k", str(colours_of(plan, level))))


def add_briefings(plan, dictionary):
    with open(dictionary, encoding="utf-8") as source:
        text = source.read()
    end = text.rindex("</Dictionary>")
    entries = "".join(
        f"\t<s n=\"Briefing{act + 1}.{place}\">{escape(briefing(plan, level))}</s>\n"
        for level in range(1, LEVELS + 1) for act, place in [act_and_place(level)])
    with open(dictionary, "w", encoding="utf-8") as out:
        out.write(text[:end] + entries + text[end:])


def write_settings(plan, stage):
    base = os.path.join(stage, "levels", "setting1")
    for number, variant in plan["settings"].items():
        folder = os.path.join(stage, "levels", f"setting{number}")
        for file_name in ("Level.qscn", "TemplateCollection.qscn"):
            with open(os.path.join(base, file_name), encoding="utf-8") as source:
                text = source.read()
            for old, new in variant.get(file_name, []):
                if text.count(old) != 1:
                    sys.exit(f"setting {number}: {old!r} is not once in setting 1's {file_name}")
                text = text.replace(old, new)
            write(os.path.join(folder, file_name), text)
        pictures = os.path.join(folder, "images")
        os.makedirs(pictures, exist_ok=True)
        for picture in os.listdir(os.path.join(base, "images")):
            if not os.path.exists(os.path.join(pictures, picture)):
                shutil.copyfile(os.path.join(base, "images", picture),
                                os.path.join(pictures, picture))


def upgrades(plan, act):
    first = act * ACT_LENGTH + 1
    built = colours_of(plan, first)
    more = colours_of(plan, first + ACT_LENGTH - 1)
    later = first + plan["morePlacesFrom"] - 1
    pads = [DANCE_PADS.format(pad) for pad in range(1, more + 1)]
    levels = {first: [(pad, PAD_TEMPLATE if index < built else None)
                      for index, pad in enumerate(pads)]}
    if more > built:
        levels[later] = [(pad, PAD_TEMPLATE) for pad in pads[built:]]
    lines = ["<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<Upgrades>"]
    for index, locations in levels.items():
        lines.append(f"\t<Level Index=\"{index}\">")
        lines.append("\t\t<Locations>")
        for name, kind in locations:
            typed = f" Type=\"{kind}\"" if kind else ""
            lines.append(f"\t\t\t<U Name=\"{name}\"{typed} Price=\"0\" />")
        lines.append("\t\t</Locations>")
        lines.append("\t\t<Staff>")
        if index == first:
            hero = plan["acts"][act]["hero"]
            lines.append(f"\t\t\t<U Name=\"Hero\" Type=\"{hero}\" Price=\"0\" />")
        lines.append("\t\t</Staff>")
        lines.append("\t\t<Env>")
        lines.append("\t\t</Env>")
        lines.append("\t</Level>")
    lines.append("</Upgrades>")
    return "\n".join(lines) + "\n"


def write_upgrades(plan, stage):
    for act, rules in enumerate(plan["acts"]):
        text = upgrades(plan, act)
        for file_name in ("Upgrades.xml", "UpgradesEasy.xml"):
            write(os.path.join(stage, "levels", f"setting{rules['setting']}", file_name), text)


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    description, stage = sys.argv[1:]
    with open(description, encoding="utf-8") as source:
        plan = json.load(source)
    for file_name, difficulty in plan["difficulties"].items():
        write(os.path.join(stage, "levels", "common", file_name), level_list(plan, difficulty))
    add_briefings(plan, os.path.join(stage, "strings", "Dictionary.xml"))
    write_settings(plan, stage)
    write_upgrades(plan, stage)


if __name__ == "__main__":
    main()
