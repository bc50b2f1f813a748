# Sourced by the setup, test, demo and benchmark scripts: asks this machine,
# once, whether it runs 32-bit x86 code, by building and running a static
# i386 program of five instructions (it only exits with code 42).
#
# Sets and exports VELNA_RUNS_32BIT (yes or no) and VELNA_MACHINE_REASON.
# A script started by another one inherits the answer and asks no more;
# VELNA_RUNS_32BIT=no set by hand takes the other path on any machine.
#
# Where the answer is yes, the shipped i686 updater runs under a 32-bit Wine
# (wine32:i386, WINEARCH=win32); where it is no, a 64-bit twin built from the
# same sources stands in for it under wine64.

velna_probe_32bit() {
  if [ -n "${VELNA_RUNS_32BIT:-}" ]; then
    VELNA_MACHINE_REASON="${VELNA_MACHINE_REASON:-as VELNA_RUNS_32BIT=$VELNA_RUNS_32BIT says}"
    export VELNA_MACHINE_REASON
    return 0
  fi
  local dir
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n  movl $1, %%eax\n  movl $42, %%ebx\n  int $0x80\n' >"$dir/probe.s"
  if ! { as --32 "$dir/probe.s" -o "$dir/probe.o" && ld -m elf_i386 "$dir/probe.o" -o "$dir/probe"; } 2>/dev/null; then
    VELNA_RUNS_32BIT=no
    VELNA_MACHINE_REASON="the 32-bit probe could not be built (no binutils?)"
  else
    local code=0 message
    message=$("$dir/probe" 2>&1) || code=$?
    if [ "$code" -eq 42 ]; then
      VELNA_RUNS_32BIT=yes
      VELNA_MACHINE_REASON="a static 32-bit x86 program ran"
    else
      VELNA_RUNS_32BIT=no
      VELNA_MACHINE_REASON="a static 32-bit x86 program did not run (exit $code${message:+: ${message##*: }})"
    fi
  fi
  rm -rf "$dir"
  export VELNA_RUNS_32BIT VELNA_MACHINE_REASON
}

# Probes (when no caller has) and prints the one line that says which path
# the calling script takes. $1 names the script.
velna_machine_path() {
  velna_probe_32bit
  if [ "$VELNA_RUNS_32BIT" = yes ]; then
    echo "$1: this machine runs 32-bit code ($VELNA_MACHINE_REASON): the shipped i686 updater, under a 32-bit Wine"
  else
    echo "$1: this machine runs no 32-bit code ($VELNA_MACHINE_REASON): the 64-bit twin under wine64; the shipped i686 updater is checked as a file only"
  fi
}
