#!/usr/bin/env bash
# The steps of the Windows tests that are no test program: regsvr32, reg and the registry's state, run by
# CTest under the Wine prefix and display that scripts/wine-tests set up. Each exits 0 when it passed.
#   register ARGS DLL...     regsvr32 /s ARGS on each DLL in turn succeeds (ARGS one word, split at
#                            spaces: - for none, "/u /n /i:user")
#   refused ARGS DLL         regsvr32 /s ARGS DLL fails
#   table SCOPE BITS DLL     every value the registry table gives the DLL of BITS (32, 64) in SCOPE
#                            (machine, user), read back with reg query in the registry view of BITS
#   snapshot FILE            HKEY_LOCAL_MACHINE as it stands, into FILE
#   unchanged FILE           HKEY_LOCAL_MACHINE as FILE holds it
#   neighbours               another add-in's entry in every host's list of add-ins
#   forget-hosts             the hosts' keys under HKEY_CURRENT_USER\Software\Microsoft deleted
#   classes-apart            HKEY_CURRENT_USER\Software\Classes\Wow6432Node, which 64-bit Windows has
#                            and which makes Wine keep 32-bit programs' per-user classes apart
# SCRIVLET_REGISTRY_TABLE names the registry table's text (the default build's registry.txt).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tag=wine-steps
# shellcheck source=../../scripts/wine-session.sh
. "$here/../../scripts/wine-session.sh"

step=$1
shift

reg_quiet() {
  wine reg "$@" >/dev/null 2>&1
}

# The value a table row shows in reg query's output for the DLL at the Windows path $1.
shown_value() {
  local value=$2 dll=$1
  value=${value//'{dll}'/$dll}
  value=${value//'{folder}'/${dll%\\*}}
  value=${value//'\r\n'/$'\n'}
  printf '%s' "$value"
}

# Text with each run of bytes outside ASCII as one ~: reg prints text in the console's code page (é is
# one byte in code page 437, two in UTF-8), and registration_tests compares those characters exactly.
ascii() {
  LC_ALL=C sed 's/[\x80-\xff][\x80-\xff]*/~/g'
}

table() {
  local scope=$1 bits=$2 dll=$3 failed=0
  local kind row_bits row_scope root key name type value path expected line current=
  local -a rows=() paths=()  # rows: each value's key, a tab, and the line reg query shows for it
  local -A shown=()
  local classes='HKLM\Software\Classes'
  [ "$scope" = user ] && classes='HKCU\Software\Classes'
  while IFS=$'\t' read -r kind row_bits row_scope root key name type value; do
    [ "$kind" = value ] || continue
    [ "$row_bits" = both ] || [ "$row_bits" = "$bits" ] || continue
    [ "$row_scope" = both ] || [ "$scope" = user ] || continue
    if [ "$root" = CLASSES ]; then path="$classes\\$key"; else path="HKCU\\$key"; fi
    expected=$(printf '    %s    %s    %s' "$name" "$type" "$(shown_value "$dll" "$value")" | ascii)
    rows+=("$path"$'\t'"$expected")
    if [ -z "${shown[$path]+set}" ]; then
      shown[$path]=$'\n'
      paths+=("$path")
    fi
  done <"${SCRIVLET_REGISTRY_TABLE:?names the registry table as text}"
  # Every key read by one batch file in one Wine process, each key's output after a line naming it: a
  # reg process apiece took a second each on a busy machine, past the test's time-out.
  local batch
  batch=$(mktemp --suffix=.cmd)
  {
    printf '@echo off\r\n'
    for path in "${paths[@]}"; do printf 'echo ==== %s\r\nreg query "%s" /reg:%s\r\n' "$path" "$path" "$bits"; done
  } >"$batch"
  while IFS= read -r line; do
    if [[ $line == "==== "* ]]; then
      current=${line#==== }
    elif [ -n "$current" ]; then
      shown[$current]+="$line"$'\n'
    fi
  done < <(wine cmd /c "$(windows_path "$batch")" 2>/dev/null | tr -d '\r' | ascii)
  rm -f "$batch"
  for line in "${rows[@]}"; do
    path=${line%%$'\t'*}
    expected=${line#*$'\t'}
    if [[ "${shown[$path]}" != *$'\n'"$expected"$'\n'* ]]; then
      printf 'reg query %s /reg:%s: expected\n%s\ngot%s\n' "$path" "$bits" "$expected" "${shown[$path]}"
      failed=1
    fi
  done
  return "$failed"
}

case $step in
  register)
    args=()
    [ "$1" = - ] || read -ra args <<<"$1"
    shift
    for dll in "$@"; do
      wine regsvr32 /s "${args[@]}" "$dll" >/dev/null 2>&1 || { echo "regsvr32 /s $* failed on $dll"; exit 1; }
    done
    ;;
  refused)
    read -ra args <<<"$1"
    if wine regsvr32 /s "${args[@]}" "$2" >/dev/null 2>&1; then
      echo "regsvr32 /s $1 accepted $2"
      exit 1
    fi
    ;;
  table) table "$@" ;;
  snapshot) machine_snapshot "$1" ;;
  unchanged)
    machine_snapshot "$1.now"
    diff -u "$1" "$1.now"
    ;;
  neighbours)
    while IFS=$'\t' read -r kind _ root key; do
      [ "$kind" = key ] && [ "$root" = HKCU ] || continue
      reg_quiet add "HKCU\\${key%\\*}\\Other.Connect" /v FriendlyName /d Other /f
    done <"${SCRIVLET_REGISTRY_TABLE:?names the registry table as text}"
    ;;
  forget-hosts)
    reg_quiet delete 'HKCU\Software\Microsoft\Visual Basic' /f
    reg_quiet delete 'HKCU\Software\Microsoft\VBA' /f
    ;;
  classes-apart) reg_quiet add 'HKCU\Software\Classes\Wow6432Node' /f ;;
  *)
    echo "$tag: unknown step $step"
    exit 2
    ;;
esac
