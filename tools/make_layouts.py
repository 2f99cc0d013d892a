#!/usr/bin/python3
"""Writes the thirteen layout documents, resources/layouts/Main_*.json, and the
Spanish for their texts, resources/strings/es/Main.json.

One layout function per scene draws the tuner screen ("ViewController") and
the chord chart ("ChordsViewController") for any screen size; the table
SCREENS says which size and which pictures each document is drawn for. Frames
are in points, each relative to its parent element.

    tools/make_layouts.py                   # writes into resources/layouts/
    tools/make_layouts.py /tmp/out/layouts  # or into another folder (and /tmp/out/strings/)
"""

import json
import os
import re
import sys

# Colours of the dark look.
BACKGROUND = "#0e1318"
CARD = "#171e26"
PANEL = "#1d2631"
KEY = "#26313e"
TEXT = "#e8eef4"
DIM = "#8d9aa8"
ACCENT = "#4cc9a0"
ON_ACCENT = "#0e1318"

# Size in points of each tuned-string picture, by picture-name suffix.
STRING_PICTURES = {"": (300, 120), "_5": (300, 140), "_6": (340, 160), "_6plus": (380, 180),
                   "_iPad": (640, 260), "_iPad_Pro": (760, 300)}
# The string-picture views; each screen class holds one of them.
STRING_VIEWS = ("tunedString", "tunedString5", "tunedStringiPad")

# Layout name -> (family, width, height, string-picture view, picture suffix, sharp/flat button picture).
SCREENS = {
    "Main_iPhone4s": ("phone", 320, 480, "tunedString", "", "flat.png"),
    "Main_iPhone": ("phone", 320, 568, "tunedString5", "_5", "flat.png"),
    "Main_iPhone6": ("phone", 375, 667, "tunedString5", "_6", "flat.png"),
    "Main_iPhone6Plus": ("phone", 414, 736, "tunedString5", "_6plus", "flat.png"),
    "Main_iPhoneX": ("phone", 375, 812, "tunedString5", "_6plus", "flat.png"),
    "Main_iPhone12Pro": ("phone", 390, 844, "tunedString5", "_6plus", "flat.png"),
    "Main_iPhoneXSMax": ("phone", 414, 896, "tunedString5", "_6plus", "flat.png"),
    "Main_iPhone12ProMax": ("phone", 428, 926, "tunedString5", "_6plus", "flat.png"),
    "Main_iPad": ("tablet", 768, 1024, "tunedStringiPad", "_iPad", "flatpro.png"),
    "Main_iPad_Pro_10_5": ("tablet", 834, 1112, "tunedStringiPad", "_iPad_Pro", "flat.png"),
    "Main_iPad_Mini6": ("tablet", 744, 1133, "tunedStringiPad", "_iPad_Pro", "flat.png"),
    "Main_iPad_Pro_11": ("tablet", 834, 1194, "tunedStringiPad", "_iPad_Pro", "flat.png"),
    "Main_iPad_Pro": ("tablet", 1024, 1366, "tunedStringiPad", "_iPad_Pro", "flatpro.png"),
}

# Tuning-fork notes: (title, action).
FORK_NOTES = (("E5", "playE659_3Hz:"), ("A4", "playA440Hz:"), ("E4", "playE329_6Hz:"),
              ("C5", "playC523_2Hz:"), ("G4", "playG392Hz:"))
# String-sound buttons by string index: (strings of the instrument, pitch, action).
STRING_SOUNDS = (("1·2", "E5", "play1stStringSound:"), ("3·4", "A4", "play2ndStringSound:"),
                 ("5", "E4", "play3rdStringSound:"), ("6", "E5", "play4thStringSound:"),
                 ("7·8", "C5", "play5thStringSound:"), ("9·10", "G4", "play6thStringSound:"))
# Store pages of the maker's other applications, by the action that opens each;
# the about section opens a panel with one button per page, titled after it.
MORE_APPS = ("openGuitarTuner:", "openUkuleleTuner:", "openViolinTuner:", "openBassTuner:", "openMandolinTuner:",
             "openBanjoTuner:", "openCelloTuner:", "openHarpTuner:", "openChromaticTuner:", "openMetronome:",
             "openChordFinder:", "openEarTrainer:")


def app_title(action):
    """"openChordFinder:" -> "Chord Finder"."""
    return re.sub(r"(?<=[a-z])(?=[A-Z])", " ", action[len("open"):-1])

# The tuning-fork panel reaches this far past the button that opens it, so the
# button's rounded corners do not show around the panel's.
PANEL_OVERLAP = 3

# Chord-chart geometry of fretboard.png (300x400 pixels; tools/README.md).
BOARD_W, BOARD_H = 300, 400
STRING_X = (50, 100, 150, 200, 250)   # strings 1..5
FRET_CELL_Y = (80, 160, 240, 320)     # centre of fret cells 1..4
STATUS_Y = 18                         # open and muted marks, above the nut
MARK = 36                             # circle, x and dot pictures
BAR_W, BAR_H = 240, 28
# Room beside the board for the fret numbers.
NUMBER_GUTTER = 40
# Room below the board for the string names.
NAMES_H = 36
# The diagram's strings 1 to 5 are the courses, in the order the tuning fork plays them.
COURSE_NOTES = tuple(note for note, _ in FORK_NOTES)


def r(value):
    return round(value, 1)


def frame(x, y, w, h):
    return [r(x), r(y), r(w), r(h)]


def element(kind, box, name=None, **fields):
    item = {"type": kind}
    if name:
        item["name"] = name
    item["frame"] = frame(*box)
    item.update({key: value for key, value in fields.items() if value is not None})
    return item


def style(font=None, bold=None, align=None, color=None, background=None, radius=None, wrap=None, collapse=None):
    found = {"font": font, "bold": bold, "align": align, "color": color, "background": background,
             "radius": radius, "wrap": wrap, "collapse": collapse}
    return {key: value for key, value in found.items() if value is not None}


def view(box, subviews, name=None, background=None, radius=None, hidden=None):
    return element("View", box, name, hidden=hidden, style=style(background=background, radius=radius) or None,
                   subviews=subviews)


def label(box, text="", name=None, font=15, bold=None, align=None, color=TEXT, wrap=None, hidden=None):
    return element("Label", box, name, text=text, hidden=hidden,
                   style=style(font=font, bold=bold, align=align, color=color, wrap=wrap))


def picture(box, name=None, image=None, hidden=None, collapse=None):
    return element("ImageView", box, name, image=image, hidden=hidden, style=style(collapse=collapse) or None)


def button(box, title="", name=None, image=None, actions=None, navigation=None, font=15, accent=False,
           background=KEY, hidden=None, tag=None, keys=None):
    return element("Button", box, name, title=title or None, image=image, actions=list(actions) if actions else None,
                   navigation=navigation, hidden=hidden, tag=tag, keys=keys,
                   style=style(font=font if title else None, bold=True if accent else None, align="center",
                               color=ON_ACCENT if accent else TEXT,
                               background=ACCENT if accent else background, radius=10 if background else None))


def switch(box, name, on, action):
    return element("Switch", box, name, on=on, actions=[action])


def fit(size, width):
    """Scales a picture size down, never up, to fit a width."""
    w, h = size
    scale = min(1.0, width / w)
    return w * scale, h * scale


def section_title(x, y, w, text, font):
    return label((x, y, w, font + 8), text.upper(), font=font, bold=True, color=DIM)


class Metrics:
    """Sizes that follow the screen class."""

    def __init__(self, family, width, height):
        self.tablet = family == "tablet"
        self.small = width <= 320
        self.margin = 16 if self.tablet else (8 if self.small else 10)
        self.pad = 16 if self.tablet else 12
        self.gap = 10 if self.tablet else 8
        self.header = 58 if self.tablet else 52
        self.title_font = 28 if self.tablet else (18 if self.small else 20)
        self.body_font = 18 if self.tablet else 15
        self.section_font = 14 if self.tablet else 12
        self.note_font = 88 if self.tablet else (44 if self.small else 56)
        self.freq_font = 30 if self.tablet else 22
        self.row = 48 if self.tablet else 40
        self.key = 52 if self.tablet else 44


# ---------------------------------------------------------------- tuner screen

def tuner_card(m, x, y, w, string_view, suffix):
    pad = m.pad
    lamp = 128 if m.tablet else 64
    # Room for the letters' full height: a label's font size is less than its line.
    note_h = round(m.note_font * 1.25)
    freq_y = note_h + 6
    picture_y = freq_y + m.freq_font + 16
    pw, ph = fit(STRING_PICTURES[suffix], w - 2 * (4 if not m.tablet else pad))
    subviews = [
        label((pad, 6, w - 2 * pad - lamp - 8, note_h), "", "noteDisplay", font=m.note_font, bold=True),
        label((pad, freq_y, w - 2 * pad - lamp - 8, m.freq_font + 8), "", "freq_label", font=m.freq_font, color=ACCENT),
        # The lamp of the other screen class stays in the layout, hidden, so the
        # tuning loop can set both.
        picture((w - pad - 64, pad, 64, 64), "LEDDisplay", "yellow64.png", hidden=True if m.tablet else None),
        picture((w - pad - 128, pad, 128, 128), "LEDDisplay128", "yellow128.png", hidden=None if m.tablet else True),
        picture(((w - pw) / 2, max(picture_y, lamp + pad + 4), pw, ph), string_view, hidden=True),
    ]
    height = max(picture_y, lamp + pad + 4) + ph + pad
    return view((x, y, w, height), subviews, background=CARD, radius=16), height


# The tuning guide's needle: cents from the nearest course's pitch, pinned at
# the scale's ends, with the in-tune zone marked around the centre; its trace
# shows the same scale over the last ten seconds.
GUIDE_RANGE = (-50, 50)
GUIDE_IN_TUNE = 5
# The trace lies this far inside the string picture's place.
TRACE_INSET = 6
# The tablets' note ("E5") and frequency ("659.3Hz") keep the width they had
# when the guide shared their card.
TABLET_NOTE_W = 200
# The guide card's texts and needle at their tallest: beyond it the type would not grow.
GUIDE_CARD_MAX_H = 250
# A tablet's guide card is never shorter, even if the page scrolls for it.
GUIDE_CARD_MIN_H = 250
# A tablet's trace, below the pair's lines, is never shorter.
TABLET_TRACE_MIN_H = 60
# A phone's trace below the needle, and the least its texts and needle then keep.
PHONE_TRACE_H = 60
PHONE_TEXTS_MIN_H = 185
# The type of the pair's reminder on a phone.
PHONE_HINT_FONT = 11
# The least height of a phone's large rows with the row of courses below them.
PHONE_ROW_MIN_H = 28
# The row of courses' buttons lie this far apart; beside a phone's trace each is this wide.
CHOICE_GAP = 6
PHONE_CHOICE_W = 44


def guide_trace(box):
    return element("Trace", box, "guideTrace", text="Tuning history", range=list(GUIDE_RANGE), zone=GUIDE_IN_TUNE)


def guide_card(m, x, y, w, room):
    """The guide's own card below the tuner card, read at arm's length: the
    course (or the chromatic note) and the offset in large type on rows of
    their own, a thick needle with its scale where there is room for it, the
    way to turn the peg, both strings of the course, and the trace of the
    last seconds beside the needle (to its right on a tablet, below it on a
    phone with room for it); as tall
    as `room` allows. Answers the card, its height and whether it holds the
    trace."""
    pad, gap = m.pad, m.gap
    inner = w - 2 * pad
    # Both strings of the course: how far apart (or the octave string's
    # offset), and for a pair apart the reminder that beats cannot tell the
    # higher one. On a tablet they sit right of the large rows, above the
    # trace; on a phone, in smaller type below the way, the reminder only
    # where the trace has room too.
    pair_font = 16 if m.tablet else 14
    hint_font = 14 if m.tablet else PHONE_HINT_FONT
    # On a tablet the pair's line takes two lines of the column where it
    # holds the beats too ("Strings 3 · 4: 4.0 cents apart · 1.0 beat/s").
    pair_h = 2 * (pair_font + 4) if m.tablet else pair_font + 8
    hint_h = 2 * (hint_font + 4)
    with_trace = m.tablet or room - PHONE_TRACE_H - gap >= PHONE_TEXTS_MIN_H + pair_h + hint_h
    height = min(room - (PHONE_TRACE_H + gap if with_trace and not m.tablet else 0), GUIDE_CARD_MAX_H)
    way_font = 24 if m.tablet else (17 if m.small else 20)
    way_h = way_font + 8
    needle_h = 56 if m.tablet else (44 if with_trace else 28)
    needle_w = inner * 0.6 if m.tablet else inner
    if not with_trace:
        pair_font = 12
        pair_h = pair_font + 4
        hint_h = 0
    # The row of courses to lock the guide on: on a phone with the trace, in
    # two lines of three beside the trace, so that the large rows keep their
    # type; on another phone below the pair; on the smallest, in the string
    # picture's place with the trace.
    choices_beside_trace = with_trace and not m.tablet
    choices_h = 40 if m.tablet else (28 if m.small else 32)
    below_way = 0 if m.tablet else pair_h + hint_h + (0 if choices_beside_trace else choices_h + gap)
    scale_font = m.section_font
    scale_h = scale_font + 4
    rows_h = height - 2 * (pad - 4) - needle_h - way_h - below_way
    choices_in_card = m.tablet or with_trace or rows_h >= 2 * PHONE_ROW_MIN_H
    if not choices_in_card:
        below_way -= choices_h + gap
        rows_h += choices_h + gap
    # A phone keeps the scale's numbers only while its large rows keep their
    # largest type: the needle's ticks show the scale without them.
    with_scale = rows_h - scale_h >= 2 * (34 if m.tablet else 52)
    if with_scale:
        rows_h -= scale_h
    big_h = rows_h / 2
    big = min(48 if m.tablet else 40, int(big_h / 1.3))
    top = pad - 4
    items = [label((pad, top, needle_w, big_h), "—", "guideCourse", font=big, bold=True),
             label((pad, top + big_h, needle_w, big_h), "", "guideCents", font=big, bold=True)]
    if m.tablet:
        # The column right of the large rows: the row of courses, the pair's
        # lines below it, then the trace down to the card's end.
        column_x = pad + needle_w + gap
        items += course_choices(m, (column_x, top, inner - needle_w - gap, choices_h))
        items += pair_labels(column_x, top + choices_h + gap, inner - needle_w - gap, pair_h, hint_h,
                             pair_font, hint_font, "left", wrap=True)
        trace_top = top + choices_h + gap + pair_h + hint_h + gap
    top += 2 * big_h
    items.append(element("Gauge", (pad, top, needle_w, needle_h), "guideNeedle", text="Tuning needle",
                         range=list(GUIDE_RANGE), zone=GUIDE_IN_TUNE))
    top += needle_h
    if with_scale:
        third = needle_w / 3
        for i, (text, align) in enumerate(((f"{GUIDE_RANGE[0]}", "left"), ("0", "center"),
                                           (f"+{GUIDE_RANGE[1]}", "right"))):
            items.append(label((pad + i * third, top, third, scale_h), text, font=scale_font, color=DIM,
                               align=align))
        top += scale_h
    items.append(label((pad, top, needle_w, way_h), "", "guideDirection", font=way_font, align="center"))
    top += way_h
    if not m.tablet:
        items += pair_labels(pad, top, inner, pair_h, hint_h, pair_font, hint_font, "center")
        top += pair_h + hint_h
        if choices_in_card and not choices_beside_trace:
            items += course_choices(m, (pad, top + gap, inner, choices_h))
            top += choices_h + gap
    if m.tablet:
        top = max(top, trace_top + TABLET_TRACE_MIN_H)
        items.append(guide_trace((pad + needle_w + gap, trace_top, inner - needle_w - gap, top - trace_top)))
    elif with_trace:
        top += gap
        grid_w = PHONE_CHOICE_W * 3 + 2 * CHOICE_GAP
        items.append(guide_trace((pad, top, inner - grid_w - gap, PHONE_TRACE_H)))
        items += course_choices(m, (pad + inner - grid_w, top, grid_w, PHONE_TRACE_H), per_line=3)
        top += PHONE_TRACE_H
    height = top + pad - 4
    return view((x, y, w, height), items, background=CARD, radius=16), height, with_trace, choices_in_card


def course_choices(m, box, per_line=6):
    """Auto and the five courses, tagged 0 to 5, filling `box`: in one row,
    Auto the wider, or in lines of `per_line` alike. The keys 1 to 5 lock a
    course, 0 or Escape (once no panel is open) release it."""
    x, y, w, h = box
    lines = 6 // per_line
    key_h = h if lines == 1 else (h - (lines - 1) * CHOICE_GAP) / lines
    if per_line == 6:
        auto_w = (w - 5 * CHOICE_GAP) * 0.25
        key_w = (w - 5 * CHOICE_GAP - auto_w) / 5
        widths = [auto_w] + [key_w] * 5
    else:
        widths = [(w - (per_line - 1) * CHOICE_GAP) / per_line] * 6
    items = []
    for tag in range(6):
        line, column = divmod(tag, per_line)
        left = x + sum(widths[line * per_line:tag]) + column * CHOICE_GAP
        top = y + line * (key_h + CHOICE_GAP) if line else y
        items.append(button((left, top, widths[tag], key_h), str(tag) if tag else "Auto",
                            actions=["chooseCourse:"], font=m.body_font - 2, tag=tag,
                            keys=[str(tag)] + ([] if tag else ["Escape"])))
    return items


def pair_labels(x, y, w, pair_h, hint_h, pair_font, hint_font, align, wrap=None):
    """The pair's line and, below it where there is room, the two lines of its reminder."""
    items = [label((x, y, w, pair_h), "", "guidePair", font=pair_font, bold=True, align=align, wrap=wrap)]
    if hint_h:
        items.append(pair_hint((x, y + pair_h, w, hint_h), hint_font, align))
    return items


def pair_hint(box, font, align):
    return label(box, "", "guidePairHint", font=font, color=DIM, align=align, wrap=True)


def place_trace_in_picture(m, card, string_view, choices_in_guide):
    """Where the guide card has no room for the trace (the smallest phones), it
    fills the string picture's place while no string is matched, above the
    pair's reminder (and the row of courses, where the guide card has no room
    for it either); the picture, drawn over them, takes the place back when
    one is."""
    subviews = card["subviews"]
    index = next(i for i, item in enumerate(subviews) if item.get("name") == string_view)
    px, py, pw, ph = subviews[index]["frame"]
    x, w = px + TRACE_INSET, pw - 2 * TRACE_INSET
    hint_h = 2 * (PHONE_HINT_FONT + 4)
    choices_h = 0 if choices_in_guide else 28
    trace_h = ph - 2 * TRACE_INSET - hint_h - choices_h
    items = [guide_trace((x, py + TRACE_INSET, w, trace_h)),
             pair_hint((x, py + TRACE_INSET + trace_h, w, hint_h), PHONE_HINT_FONT, "center")]
    if choices_h:
        items += course_choices(m, (x, py + TRACE_INSET + trace_h + hint_h, w, choices_h))
    subviews[index:index] = items


def narrow_tablet_note(card):
    """The tablets' note and frequency, as wide as they were beside the guide."""
    for item in card["subviews"]:
        if item.get("name") in ("noteDisplay", "freq_label"):
            item["frame"][2] = TABLET_NOTE_W


def string_sounds_card(m, x, y, w):
    pad, gap = m.pad, 6
    title = section_title(pad, pad - 4, w - 2 * pad, "String sounds", m.section_font)
    keys_y = pad + m.section_font + 12
    key_w = (w - 2 * pad - 5 * gap) / 6
    key_h = m.key + (8 if m.tablet else 12)
    keys = [button((pad + i * (key_w + gap), keys_y, key_w, key_h), f"{pitch}\n{strings}",
                   actions=[action], font=m.body_font - 1)
            for i, (strings, pitch, action) in enumerate(STRING_SOUNDS)]
    height = keys_y + key_h + pad
    return view((x, y, w, height), [title] + keys, background=CARD, radius=16), height


def settings_card(m, x, y, w):
    pad = m.pad
    inner = w - 2 * pad
    switch_w, switch_h = 51, 31
    rows = [section_title(pad, pad - 4, inner, "Settings", m.section_font)]
    top = pad + m.section_font + 10
    rows.append(label((pad, top, inner, 24), "Microphone sensitivity", "micSensitivityLabel", font=m.body_font))
    top += 26
    rows.append(label((pad, top, 24, 32), "0", font=m.body_font - 2, color=DIM))
    rows.append(element("Slider", (pad + 28, top, inner - 56, 32), "micSensitivitySlider", range=[0, 10], value=5,
                        actions=["micSensitivity:"]))
    rows.append(label((pad + inner - 24, top, 24, 32), "10", font=m.body_font - 2, color=DIM, align="right"))
    top += 40
    for text, name, switch_name, action in (
            ("Sound confirmation", "soundNotificationLabel", "soundNotificationSwitch", "soundNotificationAction:"),
            ("String sounds", "stringSoundsLabel", "stringSoundsSwitch", "toggleStringSounds:"),
            ("Frequency chart", "frequencyChartLabel", "freqChartSwitch", "toggleFreqChart:")):
        rows.append(label((pad, top, inner - switch_w - 8, m.row), text, name, font=m.body_font))
        rows.append(switch((pad + inner - switch_w, top + (m.row - switch_h) / 2, switch_w, switch_h),
                           switch_name, True, action))
        top += m.row
    chart_w, chart_h = fit((600, 300), inner)
    # Switched off, the chart gives its room back and the card closes up.
    rows.append(picture((pad + (inner - chart_w) / 2, top + 6, chart_w, chart_h), "freqChart", "freqchart.png",
                        collapse=True))
    height = top + 6 + chart_h + pad
    return view((x, y, w, height), rows, background=CARD, radius=16), height


def about_card(m, x, y, w):
    pad = m.pad
    inner = w - 2 * pad
    # Room for the translations' lines, which run longer than the texts here.
    congrats_h = 2 * (m.body_font + 6)
    message_font = m.body_font - (2 if m.tablet else 1)
    message_h = 4 * (message_font + 5)
    items = [section_title(pad, pad - 4, inner, "About", m.section_font)]
    top = pad + m.section_font + 10
    items.append(label((pad, top, inner, congrats_h), "Thank you for tuning with Pallqa Tuner.",
                       "aboutCongratsMessage", font=m.body_font, wrap=True))
    top += congrats_h + 4
    items.append(label((pad, top, inner, message_h), "Pluck one course at a time and tune it until the lamp turns green.",
                       "aboutMsg2", font=message_font, color=DIM, wrap=True))
    top += message_h + 8
    items.append(button((pad, top, inner, m.key), "Rate Pallqa Tuner", actions=["reviewPallqaTuner:"],
                        font=m.body_font, accent=True))
    top += m.key + 8
    half = (inner - 8) / 2
    items.append(button((pad, top, half, m.key), "Tarvelo Labs", actions=["redirectToTarveloLabs:"],
                        font=m.body_font))
    items.append(button((pad + half + 8, top, half, m.key), "More apps", navigation={"show": "moreAppsPanel"},
                        font=m.body_font))
    top += m.key
    height = top + pad
    return view((x, y, w, height), items, background=CARD, radius=16), height


def tuning_fork_panel(m, x, y, w):
    """The tuning fork, shown over the screen while in use: entering it mutes the
    confirmation beep, leaving it stops the tone and lets the beep sound again."""
    pad, gap = m.pad, 8
    inner = w - 2 * pad
    done_w = 96 if m.tablet else 80
    items = [
        section_title(pad, pad, inner - done_w, "Tuning fork", m.section_font),
        button((w - pad - done_w, pad - 6, done_w, 36), "Done",
               actions=["stopFreqPlay:", "enableSoundConfirmation:"], navigation={"hide": "tuningForkPanel"},
               font=m.body_font),
    ]
    top = pad + 40
    items.append(label((pad, top, inner / 2, m.note_font * 0.8 + 8), "", "tfnoteDisplay",
                       font=int(m.note_font * 0.8), bold=True))
    items.append(label((pad + inner / 2, top, inner / 2, m.note_font * 0.8 + 8), "", "tfFreqLabel",
                       font=m.freq_font, color=ACCENT, align="right"))
    top += m.note_font * 0.8 + 16
    key_w = (inner - 4 * gap) / 5
    for i, (title, action) in enumerate(FORK_NOTES):
        items.append(button((pad + i * (key_w + gap), top, key_w, m.key + 8), title, actions=[action],
                            font=m.body_font + 2))
    top += m.key + 8 + gap + 4
    # While nothing plays, a hint stands where the Stop button shows during a tone.
    items.append(label((pad, top, inner, m.key), "Choose a string", "tuningForkHint", font=m.body_font, color=DIM,
                       align="center"))
    items.append(button((pad, top, inner, m.key), "Stop", name="tuningForkStopButton", actions=["stopFreqPlay:"],
                        font=m.body_font, accent=True, hidden=True))
    height = top + m.key + pad
    return view((x, y, w, height), items, name="tuningForkPanel", background=PANEL, radius=18, hidden=True), height


def more_apps_panel(m, x, y, w):
    """The store pages of the maker's other applications, two to a row."""
    pad, gap = m.pad, 8
    inner = w - 2 * pad
    close_w = 96 if m.tablet else 80
    items = [
        section_title(pad, pad, inner - close_w, "More apps", m.section_font),
        button((w - pad - close_w, pad - 6, close_w, 36), "Close", navigation={"hide": "moreAppsPanel"},
               font=m.body_font),
    ]
    top = pad + 40
    key_w = (inner - gap) / 2
    for i, action in enumerate(MORE_APPS):
        column, row = i % 2, i // 2
        items.append(button((pad + column * (key_w + gap), top + row * (m.key + gap), key_w, m.key),
                            app_title(action), actions=[action], font=m.body_font - 1))
    rows = (len(MORE_APPS) + 1) // 2
    height = top + rows * (m.key + gap) - gap + pad
    return view((x, y, w, height), items, name="moreAppsPanel", background=PANEL, radius=18, hidden=True), height


def header(m, w, title_name, title_text, left=None, right=None):
    items = []
    title_x = m.margin
    if left:
        items.append(left)
        title_x = left["frame"][0] + left["frame"][2] + 8
    right_w = right["frame"][2] + 8 if right else 0
    items.append(label((title_x, (m.header - m.title_font - 10) / 2, w - title_x - m.margin - right_w,
                        m.title_font + 10), title_text, title_name, font=m.title_font, bold=True))
    if right:
        items.append(right)
    return items


def tuner_scene(family, width, height, string_view, suffix):
    m = Metrics(family, width, height)
    margin, gap = m.margin, m.gap
    chords_w = 130 if m.tablet else 96
    chords = button((width - margin - chords_w, (m.header - 36) / 2, chords_w, 36), "Chords ›",
                    navigation={"present": "ChordsViewController"}, font=m.body_font)
    items = header(m, width, "currentTuningName", "Pallqa Tuner", right=chords)
    top = m.header
    content_w = width - 2 * margin
    card, card_h = tuner_card(m, margin, top, content_w, string_view, suffix)
    items.append(card)
    top += card_h + gap
    if m.tablet:
        narrow_tablet_note(card)
    # The guide takes the room left above the tuning-fork button on the first
    # screenful; on a tablet the button's panel opens below it, within it too,
    # and the two columns below fit without scrolling where the screen has
    # room for a guide of GUIDE_CARD_MIN_H beside them.
    if m.tablet:
        column_w = (content_w - gap) / 2
        _, fork_panel_h = tuning_fork_panel(m, 0, 0, column_w + 2 * PANEL_OVERLAP)
        left_h = m.key + gap + string_sounds_card(m, 0, 0, column_w)[1] + gap + about_card(m, 0, 0, column_w)[1]
        right_h = settings_card(m, 0, 0, column_w)[1]
        unscrolled = height - margin - max(left_h, right_h) - gap - top
        guide_room = min(height - margin - fork_panel_h - gap - top, max(unscrolled, GUIDE_CARD_MIN_H))
    else:
        guide_room = height - 4 - m.key - 2 * gap - top
    guide, guide_h, guide_has_trace, choices_in_guide = guide_card(m, margin, top, content_w, guide_room)
    if not guide_has_trace:
        place_trace_in_picture(m, card, string_view, choices_in_guide)
    items.append(guide)
    top += guide_h + gap

    def fork_button(x, y, w):
        return button((x, y, w, m.key), "Tuning fork", "tuningForkButton",
                      actions=["disableTemporarilySoundConfirmation:"], navigation={"show": "tuningForkPanel"},
                      font=m.body_font, accent=True)

    if m.tablet:
        column_w = (content_w - gap) / 2
        left_x, right_x = margin, margin + column_w + gap
        fork_top = top
        items.append(fork_button(left_x, top, column_w))
        left = top + m.key + gap
        strings, strings_h = string_sounds_card(m, left_x, left, column_w)
        about_top = left + strings_h + gap
        about, about_h = about_card(m, left_x, about_top, column_w)
        settings, settings_h = settings_card(m, right_x, top, column_w)
        items += [strings, about, settings]
        apps, apps_h = more_apps_panel(m, left_x - PANEL_OVERLAP, 0, column_w + 2 * PANEL_OVERLAP)
        # Over the about section, within the screen.
        apps["frame"][1] = r(min(about_top - PANEL_OVERLAP, height - apps_h - margin))
        panel, _ = tuning_fork_panel(m, left_x - PANEL_OVERLAP, fork_top - PANEL_OVERLAP, column_w + 2 * PANEL_OVERLAP)
    else:
        fork_top = top
        items.append(fork_button(margin, top, content_w))
        top += m.key + gap
        for make in (string_sounds_card, settings_card, about_card):
            card, card_h = make(m, margin, top, content_w)
            items.append(card)
            top += card_h + gap
        about_top, bottom = card["frame"][1], top - gap
        apps, apps_h = more_apps_panel(m, margin - PANEL_OVERLAP, 0, content_w + 2 * PANEL_OVERLAP)
        # Over the about section where the user has scrolled to, within the content.
        apps["frame"][1] = r(min(about_top - PANEL_OVERLAP, bottom - apps_h))
        panel, panel_h = tuning_fork_panel(m, margin - PANEL_OVERLAP, 0, content_w + 2 * PANEL_OVERLAP)
        # Over the first screenful, on the tuning-fork button where it fits.
        panel["frame"][1] = r(max(margin, min(fork_top - PANEL_OVERLAP, height - panel_h - margin)))
    # Last, so they lie over everything else.
    items += [apps, panel]
    # Where the content runs past the screen's height, frontends let it scroll.
    return {"id": "ViewController", "class": "ViewController",
            "omits": [name for name in STRING_VIEWS if name != string_view],
            "view": view((0, 0, width, height), items, background=BACKGROUND)}


# ---------------------------------------------------------------- chord chart

def fretboard(x, y, k):
    """The board with its marks, dots, barres and fret numbers, at scale k."""
    def at(cx, cy, w, h):
        return ((NUMBER_GUTTER + cx) * k - w * k / 2, cy * k - h * k / 2, w * k, h * k)

    items = [picture((NUMBER_GUTTER * k, 0, BOARD_W * k, BOARD_H * k), "fretboard", "fretboard.png")]
    for s, sx in enumerate(STRING_X, start=1):
        items.append(picture(at(sx, STATUS_Y, MARK, MARK), f"string{s}Status"))
    for s, sx in enumerate(STRING_X, start=1):
        for f, fy in enumerate(FRET_CELL_Y, start=1):
            items.append(picture(at(sx, fy, MARK, MARK), f"Str{s}Fr{f}"))
    for f, fy in enumerate(FRET_CELL_Y, start=1):
        items.append(picture(at(BOARD_W / 2, fy, BAR_W, BAR_H), f"BarFr{f}"))
    right = BOARD_W + NUMBER_GUTTER / 2
    left = -NUMBER_GUTTER / 2
    items.append(picture(at(right, FRET_CELL_Y[0], MARK, MARK), "rightNumberFr1"))
    items.append(picture(at(right, FRET_CELL_Y[1], MARK, MARK), "rightNumberFr2"))
    items.append(picture(at(left, FRET_CELL_Y[1], MARK, MARK), "leftNumberFr2"))
    items += fretboard_labels(k)
    width = (BOARD_W + 2 * NUMBER_GUTTER) * k
    return view((x - width / 2, y, width, (BOARD_H + NAMES_H) * k), items)


def fretboard_labels(k):
    """Fret numbers in the gutter left of the board, and each string's note below it."""
    labels = []
    for f, fy in enumerate(FRET_CELL_Y, start=1):
        labels.append(label((0, (fy - MARK / 2) * k, NUMBER_GUTTER * k, MARK * k), str(f),
                            font=max(10, round(20 * k)), bold=True, color=DIM, align="center"))
    for sx, note in zip(STRING_X, COURSE_NOTES):
        labels.append(label(((NUMBER_GUTTER + sx - 25) * k, (BOARD_H + 4) * k, 50 * k, (NAMES_H - 8) * k), note,
                            font=max(10, round(18 * k)), bold=True, color=DIM, align="center"))
    return labels


# The chord chart's code gives the "pro" button pictures to tablets 1024 and 1366
# points high only, so a layout that also serves another height starts its
# button there on the plain picture, as the code will set it.
PRO_BUTTON_HEIGHTS = (1024, 1366)
# Layout name -> the other heights it serves (app/LayoutSelection.cpp).
OTHER_HEIGHTS = {"Main_iPad_Pro": (1376,)}


def flat_button_by_height(name, flat_button):
    """{"1376": "flat.png"} where a height the layout also serves gets another picture."""
    plain = {height: "flat.png" for height in OTHER_HEIGHTS.get(name, ())
             if height not in PRO_BUTTON_HEIGHTS and flat_button != "flat.png"}
    return {str(height): image for height, image in plain.items()} or None


def chords_scene(family, width, height, flat_button, flat_button_heights=None):
    m = Metrics(family, width, height)
    margin, gap = m.margin, m.gap
    back_w = 120 if m.tablet else 88
    back = button((margin, (m.header - 36) / 2, back_w, 36), "‹ Tuner", navigation={"dismiss": True},
                  font=m.body_font)
    key = 96 if flat_button == "flatpro.png" else (64 if m.tablet else 48)
    sharp_flat = button((width - margin - key, (m.header - key) / 2 if key <= m.header else 4, key, key),
                        name="buttonFlatOrSharp", image=flat_button, actions=["toggleSharpOfFlat:"],
                        background=None)
    if flat_button_heights:
        sharp_flat["imageByHeight"] = flat_button_heights
    items = header(m, width, "chordsTitle1", "Chords", left=back, right=sharp_flat)
    top = max(m.header, key + 8)
    items.append(label((margin, top, width - 2 * margin, m.body_font + 8), "Choose a root and a chord type",
                       "chordsTitle2", font=m.body_font - 1, color=DIM, align="center"))
    top += m.body_font + 8 + gap
    picker_h = 216 if m.tablet else (110 if height <= 480 else 130 if height <= 568 else 150)
    pickers_w = min(width - 2 * margin, 600)
    pickers_x = (width - pickers_w) / 2
    root_w = pickers_w * 0.6
    items.append(element("PickerView", (pickers_x, top, root_w - gap / 2, picker_h), "selectRootChord", tag=1))
    items.append(element("PickerView", (pickers_x + root_w + gap / 2, top, pickers_w - root_w - gap / 2, picker_h),
                         "selectVariant", tag=2))
    top += picker_h + gap
    display_font = 48 if m.tablet else 34
    items.append(label((margin, top, width - 2 * margin, display_font + 12), "-", "chordDisplay",
                       font=display_font, bold=True, align="center"))
    top += display_font + 12 + gap
    k_height = (height - top - margin) / (BOARD_H + NAMES_H)
    k_width = (width - 2 * margin) / (BOARD_W + 2 * NUMBER_GUTTER)
    k = min(k_height, k_width, 1.8 if m.tablet else 1.0)
    items.append(fretboard(width / 2, top, k))
    return {"id": "ChordsViewController", "class": "ChordsViewController",
            "view": view((0, 0, width, height), items, background=BACKGROUND)}


def layout(name):
    family, width, height, string_view, suffix, flat_button = SCREENS[name]
    return {
        "initialScene": "ViewController",
        "scenes": [tuner_scene(family, width, height, string_view, suffix),
                   chords_scene(family, width, height, flat_button, flat_button_by_height(name, flat_button))],
    }


def as_text(document):
    """Indented JSON with each list of numbers or names kept on one line."""
    text = json.dumps(document, indent=1, ensure_ascii=False)
    return re.sub(r"\[\s*([^\[\]{}]*?)\s*\]",
                  lambda found: "[" + re.sub(r"\s*\n\s*", " ", found.group(1)) + "]", text) + "\n"


# ---------------------------------------------------------------- Spanish

# The Spanish of every text the layouts show, by its English. A section title
# shown in capitals is translated from its words here and shown in capitals too.
SPANISH = {
    "Chords ›": "Acordes ›",
    "String sounds": "Sonido de las cuerdas",
    "Settings": "Ajustes",
    "Microphone sensitivity": "Sensibilidad del micrófono",
    "Sound confirmation": "Pitido de confirmación",
    "Frequency chart": "Tabla de frecuencias",
    "About": "Acerca de",
    "Thank you for tuning with Pallqa Tuner.": "Gracias por afinar con Pallqa Tuner.",
    "Pluck one course at a time and tune it until the lamp turns green.":
        "Pulsa un orden a la vez y afínalo hasta que la luz se ponga verde.",
    "Rate Pallqa Tuner": "Valora Pallqa Tuner",
    "More apps": "Más apps",
    "Close": "Cerrar",
    "Tuning fork": "Diapasón",
    "Done": "Listo",
    "Stop": "Detener",
    "Choose a string": "Elige una cuerda",
    "‹ Tuner": "‹ Afinador",
    "Chords": "Acordes",
    "Choose a root and a chord type": "Elige una tónica y un tipo de acorde",
    "Tuning needle": "Aguja de afinación",
    "Tuning history": "Historial de afinación",
    "Auto": "Auto",
}
# Names that read the same in Spanish: the program, its maker, the maker's other
# applications, and note names.
SAME_IN_SPANISH = {"Pallqa Tuner", "Tarvelo Labs"} | {app_title(action) for action in MORE_APPS}
NOTE_NAME = re.compile(r"^[A-G][#♭]?\d")


def layout_texts(element):
    """Every label text and button title of an element and the elements inside it."""
    for key in ("text", "title"):
        if element.get(key):
            yield element[key]
    for child in element.get("subviews", ()):
        yield from layout_texts(child)


def spanish_table(documents):
    """The Spanish of every text with a letter in it; fails on a text without one."""
    by_capitals = {english.upper(): spanish.upper() for english, spanish in SPANISH.items()}
    table = {}
    for document in documents:
        for scene in document["scenes"]:
            for text in layout_texts(scene["view"]):
                if not re.search(r"[^\W\d_]", text):
                    continue
                if text in SPANISH:
                    table[text] = SPANISH[text]
                elif text in by_capitals:
                    table[text] = by_capitals[text]
                elif text in SAME_IN_SPANISH or NOTE_NAME.match(text):
                    table[text] = text
                else:
                    sys.exit(f"make_layouts.py: no Spanish for the layout text {text!r}; add it to SPANISH")
    return dict(sorted(table.items()))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "layouts")
    os.makedirs(out, exist_ok=True)
    documents = {name: layout(name) for name in SCREENS}
    for name, document in documents.items():
        with open(os.path.join(out, name + ".json"), "w", encoding="utf-8") as file:
            file.write(as_text(document))
    strings = os.path.join(out, "..", "strings", "es")
    os.makedirs(strings, exist_ok=True)
    with open(os.path.join(strings, "Main.json"), "w", encoding="utf-8") as file:
        file.write(json.dumps(spanish_table(documents.values()), indent=2, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
