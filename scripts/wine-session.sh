# Sourced by the scripts that run Windows programs under Wine (scripts/wine-tests, scripts/package-tests):
# a fresh 64-bit prefix of their own, a virtual X server for windows, GoogleTest programs and checks
# counted together, and, at exit, every process of that prefix and that X server ended.
# The sourcing script sets `tag` (its name in messages), `logs` (a folder) and WINEPREFIX first.

export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# The creation date of generated text is fixed (Sunday 6 December 2026); the programs run in the
# en-US locale, whose short date is M/d/yyyy.
export SOURCE_DATE_EPOCH=1796515200

passed=0
failed=0
xvfb_pid=

wine_session_end() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}

# A new prefix, shown on a display of its own: Xvfb writes the number it chose to file descriptor 3.
wine_session_start() {
  mkdir -p "$logs"
  rm -rf "$WINEPREFIX"
  trap wine_session_end EXIT
  local display_file display
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$display_file" ] && break
    sleep 0.1
  done
  display=$(head -n 1 "$display_file")
  rm -f "$display_file"
  if [ -z "$display" ]; then
    echo "$tag: Xvfb did not start"
    exit 1
  fi
  export DISPLAY=":$display"
  echo "$tag: creating the prefix $WINEPREFIX (display $DISPLAY)"
  wineboot -i >/dev/null 2>&1
  # Wine hands a window with a title bar to the X server's window manager, and each time it hides one it
  # waits for the manager to take it back, two seconds at most. The virtual display has no manager, so
  # every dialog closed cost those two seconds: Wine manages the windows itself instead, and draws their
  # title bars as before.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}

# Runs a GoogleTest program (its Unix path, then its arguments), shows its output without wine's CR, and
# adds up the tests that passed and failed from its summary. A program that fails without saying how
# many tests failed (it crashed, or stopped before its summary) counts as one failure.
run_gtest() {
  local program=$1
  shift
  local name
  name=$(basename "$program" .exe)
  echo "$tag: $name $* [${SECONDS} s]"
  local log status=0
  log=$(mktemp -p "$logs" "$name.XXXXXX.log")
  env LC_ALL=en_US.UTF-8 wine "$program" "$@" >"$log" 2>&1 || status=$?
  local output count_passed count_failed
  output=$(tr -d '\r' <"$log")
  printf '%s\n' "$output"
  count_passed=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?\.$/\1/p' <<<"$output" | tail -n 1)
  count_failed=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?, listed below:$/\1/p' <<<"$output" | tail -n 1)
  passed=$((passed + ${count_passed:-0}))
  failed=$((failed + ${count_failed:-0}))
  if ((status != 0 && ${count_failed:-0} == 0)); then
    echo "$tag: $name exited with $status without a failed test in its summary"
    failed=$((failed + 1))
  elif [ -z "$count_passed" ] && [ -z "$count_failed" ]; then
    echo "$tag: $name ended without GoogleTest's summary"
    failed=$((failed + 1))
  fi
}

# A check of the script's own, counted with the programs' tests.
expect() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}

# The Windows path of a Unix one.
windows_path() {
  winepath -w "$1" | tr -d '\r'
}

reg_query() {
  wine reg query "$@" 2>/dev/null | tr -d '\r'
}

# HKEY_LOCAL_MACHINE as it stands, to compare before and after a per-user install, as UTF-8 text.
# Left out: what Windows keeps up to date by itself, whatever is installed: the display devices that
# Wine's display driver registers afresh (with a new date) each time a desktop starts, and the count of
# services started (msiexec starts the installer service), and Windows Installer's own records of what
# it installed, with the entries of Apps (which Wine keeps there for a per-user product too, and which
# the package tests look for by name).
machine_snapshot() {
  local exported="$1.utf16"
  # The 64-bit view, which holds the 32-bit one (Wow6432Node): `wine reg` may be the 32-bit reg.exe.
  wine reg export HKLM "$(windows_path "$exported")" /y /reg:64 >/dev/null 2>&1
  iconv -f UTF-16 -t UTF-8 "$exported" | tr -d '\r' |
    awk -v left_out='Hardware\\DEVICEMAP\\VIDEO]
System\\CurrentControlSet\\Control\\Video
System\\CurrentControlSet\\Hardware Profiles\\Current\\System\\CurrentControlSet\\Control\\Video
System\\CurrentControlSet\\Control\\DeviceClasses\\
System\\CurrentControlSet\\Control\\Class\\
System\\CurrentControlSet\\Enum\\
System\\CurrentControlSet\\Control\\ServiceCurrent]
Software\\Classes\\Installer]
Software\\Classes\\Installer\\
Software\\Microsoft\\Windows\\CurrentVersion\\Installer]
Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\
Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\' '
      BEGIN { n = split(left_out, prefixes, "\n") }
      /^\[/ { skip = 0
              for (i = 1; i <= n; ++i) skip = skip || index($0, "[HKEY_LOCAL_MACHINE\\" prefixes[i]) == 1 }
      !skip' >"$1"
  rm -f "$exported"
}

# Ends the session and the script: the counts, and status 1 when anything failed.
wine_session_finish() {
  wine_session_end
  trap - EXIT
  echo "$tag: $passed passed, $failed failed"
  ((failed == 0))
}
