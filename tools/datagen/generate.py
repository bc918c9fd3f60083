#!/usr/bin/env python3
"""Writes every data file of the panel from open data packages.

    generate.py [--root DIR]            write data/ under DIR (the repository)
    generate.py --report [--root DIR]   print the coverage report of the
                                        files under DIR/data

Sources are fetched into ${LUMIKO_DATA_CACHE:-~/.cache/lumiko-data}; see
data/SOURCES.md.  The output depends on nothing but the pinned sources:
every list is sorted with total keys and no date or path is written.
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import builtin  # noqa: E402
import dicts    # noqa: E402
import gbk      # noqa: E402
import model    # noqa: E402
import pictures  # noqa: E402
import raster   # noqa: E402
import report   # noqa: E402
import sources  # noqa: E402

CIKU = "词库"


def write(root, rel, data):
    path = os.path.join(root, "data", rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    old = None
    if os.path.exists(path):
        with open(path, "rb") as f:
            old = f.read()
    if old != data:
        with open(path, "wb") as f:
            f.write(data)
    print("%-40s %9d bytes%s" % (rel, len(data), "" if old == data else "  (changed)"))


def generate(root):
    m = model.Model()

    # built-in tables
    score = builtin.component_scores(m)
    comp_list = builtin.build_component_list(m, score)
    stroke_comp = builtin.build_stroke_component_table(m, score, comp_list)
    inventory = set(comp_list) | {v for _, v in stroke_comp}
    comp_code = builtin.build_component_code_table(m, inventory)
    write(root, "builtin/componentList.txt", builtin.crlf_table("as " + c for c in comp_list))
    write(root, "builtin/commonCharacterList.txt",
          builtin.crlf_table("as " + c for c in m.common100))
    write(root, "builtin/strokeComponentTable.txt",
          builtin.crlf_table(k + " " + v for k, v in stroke_comp))
    write(root, "builtin/componentCodeTable.txt",
          builtin.crlf_table(k + " " + v for k, v in comp_code))
    write(root, "builtin/basicStrokeStrip.txt", builtin.basic_stroke_strip())

    # 词库
    write(root, CIKU + "/笔画.txt", dicts.table_file(dicts.stroke_lines(m)))
    write(root, CIKU + "/附加笔画.txt", dicts.table_file(dicts.extra_stroke_lines(m)))
    write(root, CIKU + "/四角号码.txt", dicts.table_file(dicts.four_corner_lines(m)))
    write(root, CIKU + "/联想词.txt", dicts.table_file(dicts.association_lines(m)))
    write(root, CIKU + "/字典.txt", gbk.encode("拼音"))
    write(root, CIKU + "/字典/拼音.txt", dicts.table_file(dicts.pinyin_dict_lines(m)))
    write(root, CIKU + "/字典/五笔.txt", dicts.table_file(dicts.wubi_lines(m)))
    write(root, CIKU + "/字典/仓颉.txt", dicts.table_file(dicts.cangjie_lines(m)))
    write(root, "pinyin.txt", dicts.pinyin_text(m))

    # pictures and icons
    font = raster.Font(sources.font_path())
    for name, ch in sorted(pictures.KEY_PICTURES.items()):
        write(root, "pictures/%s.bmp" % name, pictures.key_picture(font, ch))
    write(root, "icons/lumiko.ico", pictures.program_icon(font))
    write(root, "icons/backspace.ico", pictures.backspace_icon())
    write(root, "icons/space.ico", pictures.space_icon())
    write(root, "icons/enter.ico", pictures.enter_icon())


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=os.path.normpath(os.path.join(HERE, "..", "..")))
    ap.add_argument("--report", action="store_true")
    args = ap.parse_args()
    if args.report:
        report.run(args.root)
    else:
        generate(args.root)


if __name__ == "__main__":
    main()
