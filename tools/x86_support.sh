# Sourced by tools/bootstrap.sh and tools/wine-session.sh: whether this machine runs
# 32-bit x86 programs (the i386 Wine loader is one), natively or through qemu-user.
#
# Some kernels run no 32-bit user code at all (built or booted without IA-32
# emulation): every i386 program fails with "Exec format error". There the i386 Wine
# loader runs under qemu-i386, which binfmt_misc starts for every i386 ELF program, so
# that Wine's own children (wineserver, its services, the tests) go through it too.

binfmt_dir=/proc/sys/fs/binfmt_misc
# The registration this project makes; named for it, so that one of another origin
# (a qemu-user-binfmt package, say) is never changed or removed here.
x86_registration=zuzovezu-i386
# Debian's qemu-user ships the registration line for i386 (magic, mask, interpreter
# and the flags OPF: argv[0] preserved, credentials of the program, interpreter opened
# once at registration, so that it serves every mount namespace).
x86_qemu_line=/usr/share/qemu/binfmt.d/qemu-i386.conf

# The smallest i386 ELF program: it exits with status 42. ABI version 1 (byte 8) keeps
# it out of every qemu registration for i386, whose mask requires 0 there, while the
# kernel's own ELF loader ignores that byte: with `native`, the probe tells whether the
# kernel itself runs 32-bit code even where a registration would claim it.
x86_probe() {  # x86_probe native|any
  local abi=00 elf file status=0
  [[ $1 == native ]] && abi=01
  elf='\x7f\x45\x4c\x46\x01\x01\x01\x00\x'$abi'\x00\x00\x00\x00\x00\x00\x00'  # e_ident
  elf+='\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'   # exec, i386, entry
  elf+='\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00'   # one program header
  elf+='\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08'   # PT_LOAD of the file
  elf+='\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00'   # 96 bytes, r-x
  elf+='\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'   # exit(42)
  # In the build tree: a temporary folder may be mounted noexec.
  mkdir -p "$root/build"
  file=$(mktemp "$root/build/x86-probe.XXXXXX") || return 1
  printf "$elf" > "$file"
  chmod +x "$file"
  "$file" 2>/dev/null || status=$?
  rm -f "$file"
  [[ $status -eq 42 ]]
}

# The name of an enabled binfmt_misc registration that claims i386 ELF programs (and
# so runs them under an emulator), or nothing.
x86_emulator_registration() {
  local entry
  [[ -e $binfmt_dir/status ]] || return 0
  for entry in "$binfmt_dir"/*; do
    [[ $entry == */register || $entry == */status ]] && continue
    [[ -r $entry && $(head -n 1 "$entry") == enabled ]] || continue
    # ELF, 32-bit, little-endian ... e_machine 3 (i386) at bytes 18-19.
    grep -qx 'offset 0' "$entry" && grep -Eq '^magic 7f454c460101.{24}0300' "$entry" &&
      { basename "$entry"; return 0; }
  done
  return 0
}

# For the benchmarks, after tools/bootstrap.sh: under an emulator, says so first and
# refuses to write figures into the documentation, since they are the emulator's times.
x86_bench_notice() {  # x86_bench_notice SCRIPT WRITES_DOCS(empty or not)
  local registration
  registration=$(x86_emulator_registration)
  [[ -n $registration ]] || return 0
  if [[ -n $2 ]]; then
    echo "$1: 32-bit x86 runs under an emulator here ($registration): its times are not the processor's, and --readme writes none" >&2
    exit 2
  fi
  echo "$1: 32-bit x86 runs under an emulator here ($registration): the times below are the emulator's, not the processor's"
}
