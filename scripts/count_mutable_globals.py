#!/usr/bin/python3
"""Lists the mutable variables at namespace scope (and function-local statics) in a folder's sources.

    scripts/count_mutable_globals.py [FOLDER ...]     (default: game)

Reads each .cpp and .h below the folders with libclang (Debian's python3-clang-14, installed by
`scripts/install-deps.sh measure`), using build/compile_commands.json for the include paths when
there is one, and prints one line per variable: file:line, the name and its type, then the count.
A variable counts when it lives for the whole program (namespace scope, anonymous namespaces
included, static class members and function-local statics) and is neither const nor constexpr,
nor a reference or pointer to const data declared const itself. Declarations with `extern` count
once, where they are defined.
"""
import json
import os
import sys

import clang.cindex as ci

ci.Config.set_library_file("/usr/lib/llvm-14/lib/libclang-14.so.1")
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def include_args():
    args = ["-std=c++20", "-I" + ROOT, "-x", "c++"]
    db = os.path.join(ROOT, "build", "compile_commands.json")
    if os.path.exists(db):
        for entry in json.load(open(db)):
            words = entry["command"].split()
            for i, w in enumerate(words):
                if w.startswith("-I") and len(w) > 2:
                    args.append(w)
                elif w == "-isystem" and i + 1 < len(words):
                    args += [w, words[i + 1]]
            break
    return args


def is_mutable(cursor):
    t = cursor.type
    if t.is_const_qualified():
        return False
    if t.kind == ci.TypeKind.CONSTANTARRAY and t.get_array_element_type().is_const_qualified():
        return False
    tokens = [tok.spelling for tok in cursor.get_tokens()]
    return "constexpr" not in tokens[:4]


def walk(cursor, path, found, in_function=False):
    for child in cursor.get_children():
        if child.location.file is None or os.path.abspath(child.location.file.name) != path:
            continue
        kind = child.kind
        if kind in (ci.CursorKind.NAMESPACE, ci.CursorKind.LINKAGE_SPEC):
            walk(child, path, found)
        elif kind == ci.CursorKind.VAR_DECL:
            lifelong = not in_function or child.storage_class == ci.StorageClass.STATIC
            extern_only = child.storage_class == ci.StorageClass.EXTERN and not child.is_definition()
            if lifelong and not extern_only and is_mutable(child):
                found.append((path, child.location.line, child.spelling, child.type.spelling))
        elif kind in (ci.CursorKind.FUNCTION_DECL, ci.CursorKind.CXX_METHOD,
                      ci.CursorKind.FUNCTION_TEMPLATE, ci.CursorKind.LAMBDA_EXPR,
                      ci.CursorKind.COMPOUND_STMT, ci.CursorKind.DECL_STMT):
            walk(child, path, found, in_function=True)
        elif kind in (ci.CursorKind.CLASS_DECL, ci.CursorKind.STRUCT_DECL) and not in_function:
            for member in child.get_children():
                if member.kind == ci.CursorKind.VAR_DECL and is_mutable(member):  # static member
                    found.append((path, member.location.line, child.spelling + "::" +
                                  member.spelling, member.type.spelling))
        elif in_function:
            walk(child, path, found, in_function=True)


def main():
    folders = sys.argv[1:] or ["game"]
    index = ci.Index.create()
    args = include_args()
    found = []
    for folder in folders:
        for dirpath, _, names in os.walk(os.path.join(ROOT, folder)):
            for name in sorted(names):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.abspath(os.path.join(dirpath, name))
                unit = index.parse(path, args=args)
                walk(unit.cursor, path, found)
    seen = set()
    for path, line, name, type_name in sorted(found):
        if (path, name) in seen:
            continue
        seen.add((path, name))
        print(f"{os.path.relpath(path, ROOT)}:{line}: {name} ({type_name})")
    print(f"{len(seen)} mutable variables in {' '.join(folders)}")


if __name__ == "__main__":
    main()
