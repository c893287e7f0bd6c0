#!/bin/bash
# Builds the release packages: dist/zuzovezu-VERSION.zip, the plug-in, and
# dist/ppihost-VERSION.zip, the command-line host. Each holds its program stripped of
# its debug information, a Japanese readme.txt in Shift-JIS with CRLF line ends (as
# Windows users' editors expect) and the licence. The debug information goes beside it
# into dist/NAME-VERSION-symbols.zip as PROGRAM.debug, which the program names in its
# .gnu_debuglink section (with the file's CRC32), so that a debugger finds it.
# The same commit gives the same bytes: fixed times and order in the zips, and programs
# built without paths or timestamps in them.
#   tools/package.sh                                       build, then package into dist/
#   tools/package.sh --plugin FILE --host FILE --out DIR   package already built programs
#   tools/package.sh --readme                              also write the sizes into docs/release.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage="usage: tools/package.sh [--plugin FILE --host FILE] [--out DIR] [--readme]"
plugin="" host="" out="$root/dist" readme=""
while (($#)); do
  case "$1" in
    --plugin) plugin=$2; shift 2 ;;
    --host) host=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --readme) readme="$root/docs/release.md"; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[[ -z "$plugin$host" || (-n "$plugin" && -n "$host") ]] || { echo "$usage" >&2; exit 2; }

if [[ -z "$plugin" ]]; then
  "$root/tools/bootstrap.sh"
  "$root/tools/build.sh" --plugin-only
  plugin="$root/dist/zuzovezu.ppi"
  host="$root/build/win32/bin/ppihost.exe"
fi
version=$(sed -n 's/^project(zuzovezu VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The time of the zips' entries: the commit's, so that every build of one commit agrees.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# objcopy stamps SOURCE_DATE_EPOCH, or else the time of day, into the programs' headers.
# At 0 they keep the linked programs' empty stamp, so that a program's bytes, and with
# them the sizes that docs/release.md quotes, follow its code alone and not the commit.
objcopy() { SOURCE_DATE_EPOCH=0 i686-w64-mingw32-objcopy "$@"; }
for program in "$plugin" "$host"; do
  name=$(basename "$program")
  mkdir "$stage/$name.linked"
  cp "$program" "$stage/$name.linked/$name"
  (cd "$stage"
   objcopy --only-keep-debug "$name.linked/$name" "$name.debug"
   # The link names the symbols file by its base name and carries its CRC32.
   objcopy --strip-all --add-gnu-debuglink="$name.debug" "$name.linked/$name" "$name")
done

# Strict encoding: a character without a Shift-JIS form stops the build.
python3 - "$root" "$stage" "$out" "$epoch" "$version" "${readme:-}" \
  "zuzovezu:$(basename "$plugin"):readme.txt" "ppihost:$(basename "$host"):ppihost_readme.txt" <<'PY'
import os, re, subprocess, sys, time, zipfile
root, stage, out, epoch, version, readme = sys.argv[1:7]
# NAME:PROGRAM:README, one a package: the readme's source in packaging/.
packages = [entry.split(":") for entry in sys.argv[7:]]
date_time = time.gmtime(int(epoch))[:6]

def windows_text(source, encoding):
    # The readme's @PROJECT_VERSION@ becomes the version.
    text = open(source, encoding="utf-8").read().replace("\r\n", "\n")
    text = text.replace("@PROJECT_VERSION@", version)
    return text.replace("\n", "\r\n").encode(encoding)

def write_zip(path, entries):
    # Fixed order, times and attributes: the bytes depend on the contents only.
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as archive:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 3
            info.external_attr = 0o100644 << 16
            archive.writestr(info, data, compresslevel=9)
    os.replace(tmp, path)

def read(name):
    with open(os.path.join(stage, name), "rb") as f:
        return f.read()

def size(n):
    return f"{n / 1024:,.0f} KiB ({n:,} bytes)"

rows = []
for name, program, readme_source in packages:
    zip_path = os.path.join(out, f"{name}-{version}.zip")
    symbols_path = os.path.join(out, f"{name}-{version}-symbols.zip")
    write_zip(zip_path, [
        (program, read(program)),
        ("readme.txt", windows_text(os.path.join(root, "packaging", readme_source), "cp932")),
        ("LICENSE.txt", windows_text(os.path.join(root, "LICENSE"), "ascii")),
    ])
    write_zip(symbols_path, [(program + ".debug", read(program + ".debug"))])
    print(zip_path)
    print(symbols_path)
    rows += [
        (f"`{program}` as linked, with debug information", len(read(f"{program}.linked/{program}"))),
        (f"`{program}` in the package, stripped", len(read(program))),
        (f"`{program}.debug`, its debug information", len(read(program + ".debug"))),
        (f"`{name}-{version}.zip`", os.path.getsize(zip_path)),
        (f"`{name}-{version}-symbols.zip`", os.path.getsize(symbols_path)),
    ]
for label, n in rows:
    print(f"{label.replace('`', '')}: {size(n)}", file=sys.stderr)

if readme:
    # Where the figures come from: the machine, and the compilers that the programs name.
    os_name = "unknown system"
    if os.path.exists("/etc/os-release"):
        fields = dict(line.rstrip("\n").split("=", 1) for line in open("/etc/os-release") if "=" in line)
        os_name = fields.get("PRETTY_NAME", os_name).strip('"')
    compilers = sorted({c for _, program, _ in packages
                        for c in re.findall(rb"GCC: \([^)]*\) ([0-9][^\0]*)", read(f"{program}.linked/{program}"))})
    binutils = subprocess.run(["i686-w64-mingw32-objcopy", "--version"], capture_output=True,
                              text=True).stdout.splitlines()[0]
    lines = ["| File | Size |", "|---|---|"] + [f"| {label} | {size(n)} |" for label, n in rows]
    lines += ["", f"Printed by `tools/package.sh --readme` on {os_name}, {os.uname().machine}, "
              f"for programs built by GCC {' and '.join(c.decode() for c in compilers)} "
              f"(as the programs record), packaged with {binutils}."]
    with open(os.path.join(stage, "sizes.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    # The README's install line rounds the stripped plug-in's size to tens of KiB.
    front = os.path.join(root, "README.md")
    text = open(front, encoding="utf-8").read()
    kib = round(len(read(packages[0][1])) / 10240) * 10
    with open(front, "w", encoding="utf-8") as f:
        f.write(re.sub(r"(the stripped module, about )\d+( KiB)", rf"\g<1>{kib}\g<2>", text))
PY
[[ -z "$readme" ]] || python3 "$root/tools/readme_block.py" "$readme" sizes <"$stage/sizes.md"
