#!/usr/bin/env python3
"""Writes the program's "CtrlFile.ini": one device section per model row of the model control
table, with the key scripts of its kind of equipment.  usage: ctrl_file_ini.py OUTPUT"""
import sys

HEAD = r""";=============================================================================
;= CtrlFile.ini - key command scripts per device model
;=
;= Lines end with a line feed; every byte outside 0x20-0x7E is dropped and
;= the rest is upper-cased, so "x0a" reads as "X0A" and "ptz pelco" as
;= "PTZ PELCO".  A line starting with ";" is a comment.  A line starting
;= with "[" selects the section of exactly that name (no blanks after "]").
;=
;= [DEVICE NUMBER]  how many devices follow (at most 256)
;= [DEVICE NAME]    a model name, exactly as the model row names it; the
;=                  sections after it belong to that device
;= [CH1]...[SEQUENCE]  one command line per key (67 key sections)
;= [POWER]          the power key's command line
;= [PARAMETER]      "%d=Xhh": parameter d (0-9) of the device is hh
;= [DISPLAY]        a decimal number kept with the device
;= [EOF]            the line "END" ends the file
;=
;= A command line is a row of byte fields "Xhh": the first is the number of
;= command bytes N, the next N the bytes.  "X%h" is a mark, filled in when
;= the key is sent:
;=   %1  the user's level code (60, 40, 20, 4)
;=   %2  low byte of the sum of the bytes before it
;=   %6  the same sum without the first byte (protocol D checksum)
;=   %D  address of the unit selected by the channel buttons
;=   %B  address of the PTZ unit (recorders without channel cameras),
;=       otherwise as %D
;=   %0, %3-%5, %7-%9  parameter of [PARAMETER]
;= A script starting with a mark has a form of its own:
;=   X%7 n bytes.. X%7 n bytes..   ACTION variant, then PRESET variant
;=   X%A n bytes.. X%A n bytes..   the second variant is sent
;=   X%3 N entries..               N bytes; "X%4 Xhh" emits hh, "X%5 Xhh"
;=                                 emits hh as the last byte
;=
;= Recorder keypads:  A0 kind address level code sum
;= PTZ heads:         protocol D, FF address cmd1 cmd2 data1 data2 checksum
;=============================================================================
"""

KEYS = ["CH%d" % i for i in range(1, 17)] + [
    "UP_PIP", "UP_QUAD", "4CUT", "9CUT", "16CUT", "PIP", "POP", "58206", "AUTO", "ESC", "VCR",
    "LIVE", "QUAD", "FREEZE", "ZOOM_IN", "ZOOM_OUT", "FOCUS_IN", "FOCUS_OUT", "PLUSE", "MINUS",
    "REMOTE_RECORD", "REBOOT", "ESCAPE", "SEC_ENTER", "STOP_RECORD", "RECORDING", "ZOOM",
    "SELECT", "LOCK", "SEARCH", "ENTER", "STOP", "RECORD", "REW", "FAST", "PAUSE", "SLOW",
    "PLAY", "JOYSTICK_LEFT", "JOYSTICK_UP", "JOYSTICK_MENU", "JOYSTICK_DOWN", "JOYSTICK_RIGHT",
    "TURBO", "PTZ", "ALARM", "ZOOM_IN_MAX", "ZOOM_OUT_MAX", "DIGITAL_ZOOM", "SET", "SEQUENCE"]

# Model rows: (name, kind, channels).
ROWS = [
    ("CAMERA", "ptz", 0), ("1CH DVR", "rec", 1), ("4CH DVR (FULL)", "rec", 4),
    ("4CH DVR (BASIC)", "rec", 4), ("4CH DMR", "rec", 4), ("9CH DMR", "rec", 9),
    ("16CH DMR", "rec", 16), ("4CH DQR", "rec", 4), ("PTZ", "ptz", 16),
    ("4CH MEPG2 DVR", "rec", 4), ("4CH NETWORK DVR", "rec", 4), ("PTZ SLAVE", "ptz", 16),
    ("4CH NETWORK DVR (BASIC)", "rec", 4), ("9CH NETWORK DMR", "rec", 9),
    ("16CH NETWORK DMR", "rec", 16), ("4CH NETWORK MEPG2 DVR", "rec", 4), ("RZ9Q", "rec", 4),
    ("PTZ SLAVE BASIC", "basic", 16), ("PTZ PELCO", "pelco", 16), ("TRV 941 DVR", "trv", 16),
    ("8CH NETWORK DMR", "rec", 8), ("4CH NETWORK DMR", "rec", 4), ("TRV 943 DVR", "trv", 8),
    ("TRV 945 DVR", "trv", 4), ("16CH NETWORK DVR", "rec", 16), ("PTZ PELCO D", "pelco", 16),
]

# Keypad codes of the recorders (channels are 01-10).
KEYPAD = {
    "UP_PIP": 0x20, "UP_QUAD": 0x21, "4CUT": 0x22, "9CUT": 0x23, "16CUT": 0x24, "PIP": 0x25,
    "POP": 0x26, "58206": 0x27, "AUTO": 0x28, "ESC": 0x29, "VCR": 0x2A, "LIVE": 0x2B,
    "QUAD": 0x2C, "FREEZE": 0x2D, "ZOOM_IN": 0x30, "ZOOM_OUT": 0x31, "FOCUS_IN": 0x32,
    "FOCUS_OUT": 0x33, "PLUSE": 0x34, "MINUS": 0x35, "REMOTE_RECORD": 0x36, "REBOOT": 0x37,
    "ESCAPE": 0x38, "SEC_ENTER": 0x39, "STOP_RECORD": 0x3A, "RECORDING": 0x3B, "ZOOM": 0x40,
    "SELECT": 0x41, "LOCK": 0x42, "SEARCH": 0x43, "ENTER": 0x44, "STOP": 0x45, "RECORD": 0x46,
    "REW": 0x47, "FAST": 0x48, "PAUSE": 0x49, "SLOW": 0x4A, "PLAY": 0x4B,
    "JOYSTICK_LEFT": 0x50, "JOYSTICK_UP": 0x51, "JOYSTICK_MENU": 0x52, "JOYSTICK_DOWN": 0x53,
    "JOYSTICK_RIGHT": 0x54, "ZOOM_IN_MAX": 0x55, "ZOOM_OUT_MAX": 0x56, "DIGITAL_ZOOM": 0x57,
    "SET": 0x58, "SEQUENCE": 0x59,
}
POWER_CODE = 0x70

# Protocol D commands of the PTZ heads: (cmd1, cmd2, data1, data2); "%0" the pan and tilt speed,
# "%9" the zoom speed.
PTZ = {
    "JOYSTICK_LEFT": (0x00, 0x04, "%0", 0x00), "JOYSTICK_RIGHT": (0x00, 0x02, "%0", 0x00),
    "JOYSTICK_UP": (0x00, 0x08, 0x00, "%0"), "JOYSTICK_DOWN": (0x00, 0x10, 0x00, "%0"),
    "JOYSTICK_MENU": (0x00, 0x07, 0x00, 0x5F), "ZOOM_IN": (0x00, 0x20, 0x00, 0x00),
    "ZOOM_OUT": (0x00, 0x40, 0x00, 0x00), "FOCUS_IN": (0x01, 0x00, 0x00, 0x00),
    "FOCUS_OUT": (0x00, 0x80, 0x00, 0x00), "ZOOM_IN_MAX": (0x00, 0x25, 0x00, "%9"),
    "ZOOM_OUT_MAX": (0x00, 0x27, 0x00, "%9"), "ENTER": (0x02, 0x00, 0x00, 0x00),
    "AUTO": (0x00, 0x07, 0x00, 0x63), "DIGITAL_ZOOM": (0x00, 0x2B, 0x00, 0x01),
    "SET": (0x00, 0x03, 0x00, 0x5F),
}
PTZ_POWER = (0x88, 0x00, 0x00, 0x00)


def field(v):
    return "X" + v if isinstance(v, str) else "X%02X" % v


def line(values):
    return " ".join(field(v) for v in values)


def command(values):
    return line([len(values)] + list(values))


def keypad(code):
    return command([0xA0, "%0", "%D", "%1", code, "%2"])


def pelco(addr_mark, c1, c2, d1, d2):
    return command([0xFF, addr_mark, c1, c2, d1, d2, "%6"])


def basic(c1, c2, d1, d2):
    # Form C: sync byte FF emitted by prefix %4, end byte AF by prefix %5.
    entries = ["%4", 0xFF, "%B", c1, c2, d1, d2, "%6", "%5", 0xAF]
    return line([len(entries) + 2, "%3", 8] + entries)


def device(name, kind, channels):
    out = ["[DEVICE NAME]", name.lower() if name == "PTZ PELCO" else name, ""]
    scripts = {}
    params = {}
    if kind in ("rec", "trv"):
        params = {0: 0x01}
        for ch in range(1, channels + 1):
            scripts["CH%d" % ch] = keypad(ch)
        for key, code in KEYPAD.items():
            scripts[key] = keypad(code)
        power = keypad(POWER_CODE)
        if kind == "trv":
            # RECORD: R.E.T.R. variant first, plain record second (the one sent).
            first = [0xA0, "%0", "%D", "%1", 0x5A, "%2"]
            second = [0xA0, "%0", "%D", "%1", 0x46, "%2"]
            entries = ["%A", len(first)] + first + ["%A", len(second)] + second
            scripts["RECORD"] = line([len(entries)] + entries)
    else:
        params = {0: 0x20, 9: 0x30}
        addr = "%B"
        for ch in range(1, channels + 1):
            if kind == "pelco":
                action = [0xFF, addr, 0x00, 0x07, 0x00, ch, "%6"]
                preset = [0xFF, addr, 0x00, 0x03, 0x00, ch, "%6"]
                entries = ["%7", len(action)] + action + ["%7", len(preset)] + preset
                scripts["CH%d" % ch] = line([len(entries)] + entries)
            elif kind == "basic":
                scripts["CH%d" % ch] = basic(0x00, 0x07, 0x00, ch)
            else:
                scripts["CH%d" % ch] = pelco(addr, 0x00, 0x07, 0x00, ch)
        for key, cmd in PTZ.items():
            scripts[key] = basic(*cmd) if kind == "basic" else pelco(addr, *cmd)
        power = basic(*PTZ_POWER) if kind == "basic" else pelco(addr, *PTZ_POWER)
    out += ["[PARAMETER]"] + ["%%%d=X%02X" % (k, v) for k, v in sorted(params.items())] + [""]
    out += ["[POWER]", power, ""]
    for key in KEYS:
        if key in scripts:
            out += ["[%s]" % key, scripts[key]]
    out += ["", "[DISPLAY]", "1" if kind in ("rec", "trv") else "0", ""]
    return out


def main():
    lines = HEAD.splitlines()
    lines += ["", "[DEVICE NUMBER]", str(len(ROWS)), ""]
    for row, (name, kind, channels) in enumerate(ROWS):
        lines += [";-----------------------------------------------------------------------------",
                  "; Row %d: %s" % (row, {"rec": "recorder keypad", "trv": "recorder keypad",
                                         "ptz": "PTZ head, protocol D",
                                         "pelco": "PTZ head, protocol D, ACTION/PRESET presets",
                                         "basic": "PTZ head, framed basic protocol"}[kind]),
                  ";-----------------------------------------------------------------------------"]
        lines += device(name, kind, channels)
    lines += ["[EOF]", "END", ""]
    with open(sys.argv[1], "w", newline="\n") as f:
        f.write("\n".join(lines))


main()
