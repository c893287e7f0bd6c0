#!/bin/bash
# Builds the release package dist/zuzovezu-VERSION.zip: the plug-in stripped of its debug
# information, a Japanese readme.txt in Shift-JIS with CRLF line ends (as Windows users'
# editors expect) and the licence. The debug information goes beside it into
# dist/zuzovezu-VERSION-symbols.zip as zuzovezu.ppi.debug, which the module names in its
# .gnu_debuglink section (with the file's CRC32), so that a debugger finds it.
# The same commit gives the same bytes: fixed times and order in the zips, and a module
# built without paths or timestamps in it.
#   tools/package.sh                           build, then package into dist/
#   tools/package.sh --plugin FILE --out DIR   package an already built plug-in
#   tools/package.sh --readme                  also write the sizes into README.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
plugin="" out="$root/dist" readme=""
while (($#)); do
  case "$1" in
    --plugin) plugin=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --readme) readme="$root/README.md"; shift ;;
    *) echo "usage: tools/package.sh [--plugin FILE] [--out DIR] [--readme]" >&2; exit 2 ;;
  esac
done

if [[ -z "$plugin" ]]; then
  "$root/tools/bootstrap.sh"
  "$root/tools/build.sh" --plugin-only
  plugin="$root/dist/zuzovezu.ppi"
fi
version=$(sed -n 's/^project(zuzovezu VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
mkdir -p "$out"
out=$(cd "$out" && pwd)
zip="$out/zuzovezu-$version.zip"
symbols_zip="$out/zuzovezu-$version-symbols.zip"

# The time stamped into the stripped module's header and the zips: the commit's, so that
# every build of one commit agrees (objcopy reads SOURCE_DATE_EPOCH).
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 1767225600)}
export SOURCE_DATE_EPOCH=$epoch

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
objcopy=i686-w64-mingw32-objcopy
cp "$plugin" "$stage/linked.ppi"
(cd "$stage"
 "$objcopy" --only-keep-debug linked.ppi zuzovezu.ppi.debug
 # The link names the symbols file by its base name and carries its CRC32.
 "$objcopy" --strip-all --add-gnu-debuglink=zuzovezu.ppi.debug linked.ppi zuzovezu.ppi)

# Strict encoding: a character without a Shift-JIS form stops the build.
python3 - "$root" "$stage" "$zip" "$symbols_zip" "$epoch" "$version" "${readme:-}" <<'PY'
import os, re, subprocess, sys, time, zipfile
root, stage, zip_path, symbols_path, epoch, version, readme = sys.argv[1:8]
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

write_zip(zip_path, [
    ("zuzovezu.ppi", read("zuzovezu.ppi")),
    ("readme.txt", windows_text(os.path.join(root, "packaging", "readme.txt"), "cp932")),
    ("LICENSE.txt", windows_text(os.path.join(root, "LICENSE"), "ascii")),
])
write_zip(symbols_path, [("zuzovezu.ppi.debug", read("zuzovezu.ppi.debug"))])

def size(n):
    return f"{n / 1024:,.0f} KiB ({n:,} bytes)"

linked = os.path.getsize(os.path.join(stage, "linked.ppi"))
rows = [
    ("`zuzovezu.ppi` as linked, with debug information", linked),
    ("`zuzovezu.ppi` in the package, stripped", len(read("zuzovezu.ppi"))),
    ("`zuzovezu.ppi.debug`, its debug information", len(read("zuzovezu.ppi.debug"))),
    (f"`zuzovezu-{version}.zip`", os.path.getsize(zip_path)),
    (f"`zuzovezu-{version}-symbols.zip`", os.path.getsize(symbols_path)),
]
for label, n in rows:
    print(f"{label.replace('`', '')}: {size(n)}", file=sys.stderr)

if readme:
    # Where the figures come from: the machine, and the compiler that the module names.
    os_name = "unknown system"
    if os.path.exists("/etc/os-release"):
        fields = dict(line.rstrip("\n").split("=", 1) for line in open("/etc/os-release") if "=" in line)
        os_name = fields.get("PRETTY_NAME", os_name).strip('"')
    compilers = sorted(set(re.findall(rb"GCC: \([^)]*\) ([0-9][^\0]*)", read("linked.ppi"))))
    binutils = subprocess.run(["i686-w64-mingw32-objcopy", "--version"], capture_output=True,
                              text=True).stdout.splitlines()[0]
    lines = ["| File | Size |", "|---|---|"] + [f"| {label} | {size(n)} |" for label, n in rows]
    lines += ["", f"Printed by `tools/package.sh --readme` on {os_name}, {os.uname().machine}, "
              f"for a module built by GCC {' and '.join(c.decode() for c in compilers)} "
              f"(as the module records), packaged with {binutils}."]
    with open(os.path.join(stage, "sizes.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
PY
[[ -z "$readme" ]] || python3 "$root/tools/readme_block.py" "$readme" sizes <"$stage/sizes.md"
echo "$zip"
echo "$symbols_zip"
