#!/usr/bin/env python3
"""Writes the game's level plan into the staged content from its description.

The description (content/media/levels.json) gives level 1 as it is played, and the rules that
grow the other levels of the four acts of eleven from it: each act's setting, hero and colours
(the second number from the place "morePlacesFrom" of the act on), the day's length and the
number of clients by place and act, the client types as they are introduced, and from which
place of an act friends come in pairs, and the locations and staff that come in at their
levels. The clients of a level are drawn from the types known by then, each with one of its
type's wish lists whose services the level offers, with a generator seeded by the level's
number, so the plan is the same at every build. Every location a level builds is among its
"LocationTypes", the pads and the services in their colours, the others with none.

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
  that build, at the act's first level, its hero and what came before the act, and what comes
  within the act at its level (unbuilt until then: a first item without type); then the
  priced offers of the shop on sale by the act's end, each from its level or the act's first
  (locations, staff and the environment parts "Up1" to "Up6", whose types are states of the
  level's background), some with the level from which the shop recommends them.

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


def location_slots(plan):
    """Every location the plan builds: the dance pads, each from the first level with its
    colour, then the other kinds; each with its place, type, first level and colour."""
    pads = []
    for pad in range(1, 6):
        first = next(level for level in range(1, LEVELS + 1) if colours_of(plan, level) >= pad)
        pads.append({"place": DANCE_PADS.format(pad), "type": PAD_TEMPLATE, "from": first,
                     "color": pad})
    return pads + plan["locations"]


def built(slots, level):
    return [slot for slot in slots if slot["from"] <= level]


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
    places = {slot["place"] for slot in built(location_slots(plan), level)}

    def wish_list(name):
        offered = [wish for wish in plan["clientWishLists"].get(name, [plan["wishList"]])
                   if places.issuperset(plan["wishListNeeds"].get(wish, []))]
        return random_source.choice(offered)

    entries = []
    left = clients_count(plan, level)
    while left > 0:
        index = len(entries)
        name = introduced if introduced and index % 3 == 1 else random_source.choice(pool)
        size = 2 if pairs_from and place >= pairs_from and index % 4 == 3 and left > 1 else 1
        picked = [str(random_source.randint(1, colours)) for _ in range(size)]
        entries.append({"Name": name, "WishLists": ";".join(wish_list(name) for _ in range(size)),
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
    for staff in built(plan["staff"], level):
        value(staff["field"], staff["type"])
    if new_client(plan, level):
        value("NewClientName", new_client(plan, level))
    lines.append("\t\t<LocationTypes>")
    for slot in built(location_slots(plan), level):
        lines.append(f"\t\t\t<Location Place=\"{slot['place']}\" Template=\"{slot['type']}\" "
                     f"Color=\"{slot.get('color', 0)}\" />")
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
        # Setting 1's pictures, in their folders, where the variant has none of its own.
        source_pictures = os.path.join(base, "images")
        for root, _, files in os.walk(source_pictures):
            target = os.path.join(folder, "images", os.path.relpath(root, source_pictures))
            os.makedirs(target, exist_ok=True)
            for picture in files:
                if not os.path.exists(os.path.join(target, picture)):
                    shutil.copyfile(os.path.join(root, picture), os.path.join(target, picture))


def group_upgrades(slots, first, last):
    """A group's free upgrades by level: a slot built before the act is there at its first
    level; one that comes within the act is unbuilt until its level."""
    levels = {first: []}
    for slot in slots:
        if slot["from"] > last:
            continue
        if slot["from"] <= first:
            levels[first].append((slot["place"], slot["type"], 0, None))
        else:
            levels[first].append((slot["place"], None, 0, None))
            levels.setdefault(slot["from"], []).append((slot["place"], slot["type"], 0, None))
    return levels


def add_offers(plan, group, levels, first, last):
    """The priced upgrades of the group on offer by the act's end, each from its level (or the
    act's first); a slot that nothing builds for free starts unbuilt."""
    free = {name for items in levels.values() for name, _, _, _ in items}
    for offer in plan["offers"]:
        if offer["group"] != group or offer["level"] > last:
            continue
        if offer["slot"] not in free:
            levels[first].append((offer["slot"], None, 0, None))
            free.add(offer["slot"])
        recommended = offer.get("recommended")
        levels.setdefault(max(offer["level"], first), []).append(
            (offer["slot"], offer["type"], offer["price"],
             max(recommended, first) if recommended else None))
    return levels


def upgrade_line(name, kind, price, recommended):
    typed = f" Type=\"{kind}\"" if kind else ""
    advised = f" RecommendedLevel=\"{recommended}\"" if recommended else ""
    return f"\t\t\t<U Name=\"{name}\"{typed} Price=\"{price}\"{advised} />"


def upgrades(plan, act):
    first = act * ACT_LENGTH + 1
    last = first + ACT_LENGTH - 1
    staff = [{"place": "Hero", "type": plan["acts"][act]["hero"], "from": first}]
    staff += [{"place": member["slot"], "type": member["type"], "from": member["from"]}
              for member in plan["staff"]]
    groups = {"Locations": group_upgrades(location_slots(plan), first, last),
              "Staff": group_upgrades(staff, first, last), "Env": group_upgrades([], first, last)}
    for group, levels in groups.items():
        add_offers(plan, group, levels, first, last)
    lines = ["<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<Upgrades>"]
    for index in sorted(set().union(*groups.values())):
        lines.append(f"\t<Level Index=\"{index}\">")
        for group, levels in groups.items():
            lines.append(f"\t\t<{group}>")
            lines += [upgrade_line(*item) for item in levels.get(index, [])]
            lines.append(f"\t\t</{group}>")
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
