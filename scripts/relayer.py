#!/usr/bin/env python3
"""One-off: moves the sources into one folder per library (git mv) and rewrites the includes.

The Qt-free files of app/, screens/ and settings/ go to appcore/; every Qt file goes below gui/:
kit (shared window helpers), history, settings, screens, shell (main frame, application, connect
dialog, setting command). Tests follow the classes they test."""
import json, os, re, subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
os.chdir(ROOT)

KIT = {"app/CChildFrame", "app/CUiCallQueue", "app/CUiThreadPoster", "app/CQueuedReceiver",
       "app/CMenuBuilder", "app/CDeferredIcon", "app/CDeferredIconStyle", "app/CPrerenderedIcon",
       "app/CCommandActions", "app/CQtMessageBoxSink", "screens/CMemDC", "screens/CPaintPacer",
       "screens/FontCache", "screens/CTextLayoutCache"}
TO_SETTINGS = {"app/CEngineLoggingLink"}
TO_SHELL = {"device/CConnectDlg", "settings/CSettingCommand"}
MIXED = ("app", "screens", "settings", "history", "device")


def gui_sources():
    block = re.compile(r"(?:target_sources\s*\(\s*pelmora_gui\s+PRIVATE|add_executable\s*\(\s*pelmora\s)([^)]*)\)")
    found = set()
    for folder in MIXED:
        text = open(f"src/{folder}/CMakeLists.txt").read()
        for match in block.finditer(text):
            found.update(f"{folder}/{w}" for w in match.group(1).split() if w.endswith(".cpp"))
    return found


def read_sources():
    gui = gui_sources()
    files = {}
    for folder in os.listdir("src"):
        for name in os.listdir(f"src/{folder}"):
            if not name.endswith((".h", ".cpp")):
                continue
            path = f"{folder}/{name}"
            includes, qt = [], path in gui
            for line in open(f"src/{path}"):
                match = re.match(r'\s*#\s*include\s*"([^"]+)"', line)
                if match:
                    target = match.group(1)
                    includes.append(target if "/" in target else f"{folder}/{target}")
                elif re.match(r"\s*#\s*include\s*<Q", line):
                    qt = True
            files[path] = {"includes": includes, "qt": qt}
    changed = True
    while changed:  # a header is a Qt file through its source or what it includes
        changed = False
        for path, info in files.items():
            if info["qt"] or not path.endswith(".h"):
                continue
            partner = path[:-2] + ".cpp"
            if (partner in files and files[partner]["qt"]) or any(
                    files.get(i, {}).get("qt") for i in info["includes"]):
                info["qt"] = changed = True
    return files


def new_place(path, qt):
    folder, name = path.split("/")
    key = f"{folder}/{name.rsplit('.', 1)[0]}"
    if folder not in MIXED:
        return path
    if not qt:
        return path if folder in ("device", "history") else f"appcore/{name}"
    if key in KIT:
        return f"gui/kit/{name}"
    if key in TO_SETTINGS:
        return f"gui/settings/{name}"
    if key in TO_SHELL or folder == "app":
        return f"gui/shell/{name}"
    return f"gui/{folder}/{name}"


def test_place(path, moves):
    folder, name = path.split("/")
    if not name.endswith(".cpp"):
        return path
    stem = name[:-len("Test.cpp")] if name.endswith("Test.cpp") else None
    if stem:
        for candidate in (f"{folder}/{stem}.h", f"{folder}/{stem}.cpp"):
            if candidate in moves:
                return moves[candidate].rsplit("/", 1)[0] + "/" + name
    if folder in ("device", "history"):
        return path  # tests of the Qt-free library that stays where it is
    special = {"CSettingDlgCcdfTest.cpp": "gui/settings", "LanguageFileTest.cpp": "appcore"}
    return special.get(name, "gui/shell") + "/" + name  # the rest drive the program


def git_mv(source, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    subprocess.run(["git", "mv", source, target], check=True)


def rewrite_includes(moves, places):
    """places: old path of every moved file, by its new path (for bare same-folder includes)."""
    pattern = re.compile(r'^(\s*#\s*include\s*")([^"]+)(")', re.M)
    tracked = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True,
                             check=True).stdout.split()
    for file in tracked:
        old_folder = os.path.dirname(places.get(file, file))
        new_folder = os.path.dirname(file)

        def replace(match):
            target = match.group(2)
            if "/" in target:
                moved = moves.get(target)
                return match.group(1) + moved + match.group(3) if moved else match.group(0)
            if not old_folder.startswith("src/"):
                return match.group(0)
            old_target = old_folder[len("src/"):] + "/" + target
            moved = moves.get(old_target, old_target)
            if "src/" + os.path.dirname(moved) == new_folder:
                return match.group(0)
            return match.group(1) + moved + match.group(3)

        text = open(file).read()
        updated = pattern.sub(replace, text)
        if updated != text:
            open(file, "w").write(updated)


def main():
    files = read_sources()
    moves = {p: new_place(p, info["qt"]) for p, info in files.items()}
    moves = {p: q for p, q in moves.items() if p != q}
    places = {}
    for source, target in sorted(moves.items()):
        git_mv(f"src/{source}", f"src/{target}")
        places[f"src/{target}"] = f"src/{source}"
    for folder in MIXED:
        for name in sorted(os.listdir(f"tests/{folder}")):
            target = test_place(f"{folder}/{name}", moves)
            if target != f"{folder}/{name}":
                git_mv(f"tests/{folder}/{name}", f"tests/{target}")
                places[f"tests/{target}"] = f"tests/{folder}/{name}"
    rewrite_includes(moves, places)
    json.dump({"moves": moves, "places": places}, open("/tmp/relayer-moves.json", "w"), indent=1)


if __name__ == "__main__":
    main()
