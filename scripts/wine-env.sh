# Sourced by the Wine scripts: which loader runs a program, whether this
# machine runs 32-bit code, and the prefix of a build folder.
#
# Debian's /usr/bin/wine wrapper always starts the 32-bit loader when wine32
# is installed, which fails for everything on a machine that refuses 32-bit
# code; so the loaders are called directly, each for its own architecture.
# Wine's own programs (reg, sc, regedit, control) run at the bitness of the
# loader that starts them, so $WINELOADER is the one to start them with.

KV_WINE32_LOADER=${KV_WINE32_LOADER:-/usr/lib/wine/wine}
KV_WINE64_LOADER=${KV_WINE64_LOADER:-/usr/lib/wine/wine64}
KV_WINESERVER=${KV_WINESERVER:-/usr/lib/wine/wineserver64}
# Where scripts/bootstrap puts the i386 emulator (scripts/i386-emulator).
KV_I386_EMULATOR=${KV_I386_EMULATOR:-/usr/local/lib/kvtouch/qemu-i386}

# Prints win32 or win64 for a PE file, from the machine field of its header.
kv_pe_arch() {
  local file=$1 lfanew machine
  if [ ! -f "$file" ]; then
    echo "wine-run: no such program: $file" >&2
    return 1
  fi
  lfanew=$(od -An -tu4 -j60 -N4 "$file" 2>/dev/null | tr -d ' ')
  machine=$(od -An -tx2 -j$((${lfanew:-0} + 4)) -N2 "$file" 2>/dev/null | tr -d ' ')
  case "$machine" in
    014c) echo win32 ;;
    8664) echo win64 ;;
    *) echo "wine-run: $file is not an i386 or x86_64 PE program (machine '$machine')" >&2; return 1 ;;
  esac
}

# Succeeds when the 32-bit loader starts; otherwise says why in
# KV_NO32_REASON. Exec format error is the only answer taken as "this
# machine cannot run 32-bit code"; any other failure is a broken install.
kv_probe_32() {
  local out
  KV_NO32_REASON=""
  if [ ! -x "$KV_WINE32_LOADER" ]; then
    KV_NO32_REASON="32-bit Wine ($KV_WINE32_LOADER) is not installed (run scripts/bootstrap)"
    return 2
  fi
  # The shell's message in English, whatever locale the test runs in (the
  # Chinese-system tests run in zh_CN, where it comes translated).
  if out=$(export LC_ALL=C; "$KV_WINE32_LOADER" --version 2>&1); then return 0; fi
  case "$out" in
    *"Exec format error"*)
      KV_NO32_REASON="this machine cannot execute 32-bit x86 code (Exec format error)"
      return 77 ;;
  esac
  KV_NO32_REASON="$KV_WINE32_LOADER does not start: $out"
  return 2
}

# How this machine runs 32-bit code, exported in KV_WIN32_WAY (the tests
# read it too): native (its kernel runs it), emulated (it refuses it, and
# the i386 emulator runs it in a namespace of its own; inside that
# namespace too) or none (then KV_NO32_REASON says why). The status, also
# in KV_WIN32_STATUS, is 0, or kv_probe_32's.
kv_win32_way() {
  local emulator
  emulator="$(dirname "${BASH_SOURCE[0]}")/i386-emulator"
  KV_WIN32_STATUS=0
  kv_probe_32 || KV_WIN32_STATUS=$?
  if [ "$KV_WIN32_STATUS" -eq 0 ]; then
    KV_WIN32_WAY=native
    [ "${KV_I386_NAMESPACE:-}" = 1 ] && KV_WIN32_WAY=emulated
  elif [ "$KV_WIN32_STATUS" -eq 77 ] && "$emulator" run "$KV_WINE32_LOADER" --version >/dev/null 2>&1; then
    KV_WIN32_WAY=emulated
    KV_WIN32_STATUS=0
  else
    KV_WIN32_WAY=none
    [ "$KV_WIN32_STATUS" -eq 77 ] &&
      KV_NO32_REASON="$KV_NO32_REASON, and the i386 emulator cannot run it ($("$emulator" run true 2>&1 | head -n 1))"
  fi
  export KV_WIN32_WAY
  return "$KV_WIN32_STATUS"
}

# True when this process must first enter the emulator's namespace: the
# machine refuses 32-bit code, so every Wine process (a 64-bit program's
# 32-bit children too) runs there. Call after kv_win32_way.
kv_needs_emulator_namespace() {
  [ "$KV_WIN32_WAY" = emulated ] && [ "${KV_I386_NAMESPACE:-}" != 1 ]
}

# Makes INTERPRETER the handler of every i386 ELF file in the binfmt_misc
# mounted at MOUNT, under NAME with the binfmt FLAGS.
kv_binfmt_i386() {
  local mount=$1 name=$2 interpreter=$3 flags=$4
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf ':%s:M::%s:%s:%s:%s' "$name" "$magic" "$mask" "$interpreter" "$flags" >"$mount/register"
}

# The build folder that holds PATH: the nearest parent with a CMakeCache.txt.
kv_build_dir() {
  (cd "$(dirname "$1")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done
   [ -f CMakeCache.txt ] && pwd)
}

# Sets the Wine environment for ARCH with the prefix in PROGRAM's build
# folder (or $KV_WINEPREFIX when set). Returns 77 for win32 on a machine
# that runs 32-bit code neither way (after kv_win32_way), 1 when Wine is
# missing.
kv_wine_select() {
  local arch=$1 program=$2 build
  case "$arch" in
    win64)
      if [ ! -x "$KV_WINE64_LOADER" ]; then
        echo "wine-run: 64-bit Wine ($KV_WINE64_LOADER) is not installed (run scripts/bootstrap)" >&2
        return 1
      fi
      WINELOADER=$KV_WINE64_LOADER ;;
    win32)
      if [ "$KV_WIN32_STATUS" -ne 0 ]; then
        echo "wine-run: $KV_NO32_REASON; 32-bit Wine tests skipped" >&2
        return "$KV_WIN32_STATUS"
      fi
      WINELOADER=$KV_WINE32_LOADER ;;
  esac
  build=$(kv_build_dir "$program") || build=""
  if [ -n "${KV_WINEPREFIX:-}" ]; then
    WINEPREFIX=$KV_WINEPREFIX
  else
    [ -n "$build" ] || { echo "wine-run: $program is not in a build folder" >&2; return 1; }
    WINEPREFIX=$build/wineprefix
  fi
  # New prefixes of the build folder are copies of one booted there.
  KV_PREFIX_TEMPLATE=${build:+$build/wineprefix.template}
  WINEARCH=$arch
  WINESERVER=$KV_WINESERVER
  WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko prompts; no winemenubuilder, which Wine starts for
  # every shortcut saved and which holds the .lnk open while it reads it
  # (long under the emulator), so an uninstall could not delete it.
  WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
  export WINEPREFIX WINEARCH WINELOADER WINESERVER WINEDEBUG WINEDLLOVERRIDES
}

# Boots a new prefix at PREFIX for the selected Wine, with windows left
# unmanaged: no window manager runs on the tests' X servers, and Wine waits
# 2 s for one to withdraw every managed window it hides.
kv_boot_prefix() {
  local prefix=$1
  # wineboot of a 64-bit prefix on a machine without 32-bit support
  # fails only on syswow64 and exits non-zero; the prefix is usable.
  WINEPREFIX=$prefix "$WINELOADER" wineboot -i >"$prefix.boot.log" 2>&1 </dev/null 8>&- 9>&-
  WINEPREFIX=$prefix "$WINESERVER" -w 8>&- 9>&-
  if [ ! -f "$prefix/system.reg" ]; then
    echo "wine-run: wineboot failed, see $prefix.boot.log" >&2
    return 1
  fi
  WINEPREFIX=$prefix "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >>"$prefix.boot.log" 2>&1 </dev/null 8>&- 9>&-
  WINEPREFIX=$prefix "$WINESERVER" -w 8>&- 9>&-
}

# Makes the selected prefix: a copy of the build folder's template, which
# is booted once (a few seconds to copy against a boot of 20 s, and of a
# minute under the i386 emulator); booted in place where there is no
# template or the folder is there but not a prefix.
kv_make_prefix() {
  rmdir "$WINEPREFIX" 2>/dev/null
  if [ -z "$KV_PREFIX_TEMPLATE" ] || [ -e "$WINEPREFIX" ]; then
    kv_boot_prefix "$WINEPREFIX"
    return
  fi
  (
    flock 8
    [ -f "$KV_PREFIX_TEMPLATE/system.reg" ] || kv_boot_prefix "$KV_PREFIX_TEMPLATE"
  ) 8>"$KV_PREFIX_TEMPLATE.lock" || return 1
  rm -rf "$WINEPREFIX.copying"
  cp -a "$KV_PREFIX_TEMPLATE" "$WINEPREFIX.copying" && mv "$WINEPREFIX.copying" "$WINEPREFIX"
}

# Makes the selected prefix once (a lock keeps parallel tests from racing)
# and keeps its wineserver up between the tests of one run: 60 s after its
# last program, or for good when KV_WINE_PERSIST_SECONDS is empty (until
# wineserver -k). The first program of a fresh server starts Wine's
# background processes (services, explorer, winedevice), which keep its
# standard output (and any other inherited descriptor, such as our lock)
# open while the server lives; a warm-up with output to a log file takes
# that role, so no test's output pipe is held open after the test ends.
kv_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/system.reg" ]; then kv_make_prefix || exit 1; fi
    if "$WINESERVER" "-p${KV_WINE_PERSIST_SECONDS-60}" >/dev/null 2>&1 </dev/null 9>&-; then
      "$WINELOADER" cmd.exe /c exit >>"$WINEPREFIX.services.log" 2>&1 </dev/null 9>&-
    fi
    exit 0
  ) 9>"$WINEPREFIX.lock"
}
