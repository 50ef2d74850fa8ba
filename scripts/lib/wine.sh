# shellcheck shell=bash
# Shared by the scripts that run Windows programs under Wine. Source it; do not run it.

export WINEDEBUG=${WINEDEBUG:--all}
wine_lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Wine runs as wine_account, through as-account (see there): every call below, and every call of
# the scripts that source this, goes through the two functions, and a program started through
# another (timeout) through "$as_account". Started as root, what root makes for Wine (prefix
# folders, the builds) is made readable by others, so that the account can use it.
as_account=$wine_lib/as-account
wine_account=$("$as_account" id -un) || return 1
wine() { "$as_account" wine "$@"; }
wineserver() { "$as_account" wineserver "$@"; }
[ "$(id -u)" -ne 0 ] || umask 022
# Skip the Mono and Gecko installers: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# wine_preset: the build whose Windows programs Wine runs here, and wine_build, a line that says
# which and why. The product is 32-bit, but some machines cannot run 32-bit code at all (the
# kernel's IA-32 emulation is off, and Wine's 32-bit loader fails with "Exec format error"). There
# the same sources are built for x86-64 (preset win64) and run by Wine's 64-bit loader, which goes
# first on PATH as "wine", in 64-bit prefixes. DOCRECOVER_WINE64=1 takes that path on any machine,
# so that both can be tried on one. The scripts call Wine's tools through "wine" (wine wineboot),
# since Debian's helper scripts pick the 32-bit loader whenever it exists.
# shellcheck disable=SC2034 # wine_preset, wine_build, wine_why: read by the scripts that source this
if [ "${DOCRECOVER_WINE64:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wine_preset=win32 wine_build="Wine ran the win32 build as $wine_account: the product"
else
  wine_why="because this machine cannot run 32-bit code"
  [ "${DOCRECOVER_WINE64:-0}" = 1 ] && wine_why="forced (DOCRECOVER_WINE64=1)"
  wine_preset=win64 wine_build="Wine ran the win64 build as $wine_account, $wine_why"
  export WINEARCH=win64
  PATH=$wine_lib/wine64:$PATH
  export PATH
fi

# wine_hand_over <path>...: started as root, gives what root made for Wine to the account, whole
# (links themselves, not what they lead to), as a user's own files are the user's.
wine_hand_over() {
  [ "$(id -u)" -ne 0 ] || chown -hR "$wine_account:" "$@"
}

# wine_stop <prefix>...: ends every Wine process of each prefix that exists, and waits for its
# server to end. As the account: root's own "wineserver -k" on the account's prefix does nothing,
# and says so only on stderr.
wine_stop() {
  local prefix
  for prefix; do
    if [ -d "$prefix" ]; then WINEPREFIX=$prefix wineserver -k 2>/dev/null && WINEPREFIX=$prefix wineserver -w; fi
  done
  return 0
}

# wine_reaches: fails, saying why, when the account cannot read this checkout (one under a home of
# mode 0700, or made under umask 077): Wine is never run as root instead.
wine_reaches() {
  "$as_account" test -x "$wine_lib/wine64/wine" && return
  echo "wine: the account $wine_account, which runs Wine here, cannot read" \
    "${wine_lib%/scripts/lib}: clone the repository where every account can read it"
  return 1
}

# wine_prefix <dir>: makes a throwaway prefix once, and removes its z: drive, which would map the
# whole Linux tree into every search of the fixed drives. Exports WINEPREFIX. Wine refuses a prefix
# that another account owns: one left by another (root's, from before) is made afresh, and the
# folder of a new one is the account's.
wine_prefix() {
  export WINEPREFIX=$1
  wine_reaches || return 1
  if [ -e "$1" ] && [ "$(stat -c %U "$1")" != "$wine_account" ]; then
    rm -rf "$1" || { echo "wine: $1 is not $wine_account's, and could not be removed" && return 1; }
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX" && wine_hand_over "$WINEPREFIX" || return 1
    wine wineboot -i >/dev/null 2>&1
    # Wine draws its own frames: under Xvfb there is no window manager, and Wine would wait for
    # one about two seconds each time a window is hidden.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
  fi
  # Debian's Wine fonts (MS Sans Serif among them) are not where Wine looks for them.
  if [ -d /usr/share/wine/fonts ]; then
    "$as_account" ln -sf /usr/share/wine/fonts/*.fon /usr/share/wine/fonts/*.ttf \
      "$WINEPREFIX/drive_c/windows/Fonts/" || echo "wine: could not link the Wine fonts"
  fi
  rm -f "$WINEPREFIX/dosdevices/z:"
}

# wine_dpi_prefix <dir> <dpi>: a second prefix whose screen has that density, for the tests of the
# window at other densities. Wine reads the density when its server starts, so the server is
# stopped once the density is set; the next program starts a new one.
wine_dpi_prefix() (
  wine_prefix "$1" || return 1
  local key='HKCU\Control Panel\Desktop'
  if ! wine reg query "$key" /v LogPixels 2>/dev/null | grep -qi "0x$(printf %x "$2")"; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$2" /f >/dev/null 2>&1
    wine_stop "$WINEPREFIX"
  fi
)

# wine_map_drive <letter> <linux folder>: points a drive letter of the current prefix at a folder.
wine_map_drive() {
  local link="$WINEPREFIX/dosdevices/${1,,}:"
  rm -f "$link"
  ln -s "$2" "$link"
}

# wine_drive_type <letter> <type>: gives a drive of the current prefix a type other than fixed
# (floppy: removable; network: remote; cdrom). Wine's mount manager reads the types from the
# registry's 64-bit view only, where a 32-bit reg.exe in a WoW64 prefix would not write without
# /reg:64. The value is checked in that view first, so that a prefix made wrong is mended; the
# server is then restarted, since the types are read as it starts.
wine_drive_type() {
  local key='HKLM\Software\Wine\Drives' letter=${1,,}:
  if ! wine reg query "$key" /v "$letter" /reg:64 2>/dev/null | tr -d '\r' |
    grep -qiE "^[[:space:]]*$letter[[:space:]]+REG_SZ[[:space:]]+$2\$"; then
    wine reg add "$key" /v "$letter" /d "$2" /f /reg:64 >/dev/null 2>&1 || return 1
    wine_stop "$WINEPREFIX"
  fi
}

# wine_warm_up: starts one persistent server for the current prefix, so that each test process
# does not start its own, and makes sure a first program runs and ends. A first start right after
# a new prefix has been seen to hang once; it is given a bounded time and tried once more.
wine_warm_up() {
  local attempt
  for attempt in 1 2; do
    wineserver -p
    if timeout 60 "$as_account" wine cmd /c exit >/dev/null 2>&1; then
      return 0
    fi
    echo "wine: the first program did not end (attempt $attempt); restarting the server"
    wineserver -k 2>/dev/null
  done
  return 1
}

# wine_share_display: started as root on a real display, gives the account a copy of the
# display's cookie, in the current prefix: it cannot read root's (XAUTHORITY). Exports XAUTHORITY.
wine_share_display() {
  [ "$(id -u)" -eq 0 ] || return 0
  local cookie=$WINEPREFIX/.Xauthority
  xauth extract - "$DISPLAY" 2>/dev/null | "$as_account" xauth -q -f "$cookie" merge - &&
    export XAUTHORITY=$cookie
}

# wine_xvfb <log file>: starts an X server of the caller's own, on a display it picks itself, for
# the Windows programs to come. Exports DISPLAY and sets xvfb_pid; fails when the server is not up
# within 30 s.
wine_xvfb() {
  local display_file tries
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" 2>"$1" &
  xvfb_pid=$!
  for ((tries = 0; tries < 300; tries++)); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$display_file" ]; then
    rm -f "$display_file"
    return 1
  fi
  DISPLAY=:$(cat "$display_file")
  export DISPLAY
  rm -f "$display_file"
}

# wine_session <prefix dir>: what every Win32 test run needs: the prefix, its twin at 144 dpi
# (<prefix dir>-144dpi), an X server of its own (the first program started in a prefix brings up
# Wine's desktop process, which must see the same display as the windows that follow) and one
# warmed-up server. Sets xvfb_pid.
wine_session() {
  wine_dpi_prefix "${1%/}-144dpi" 144 && wine_prefix "$1" || return 1
  wine_xvfb "${1%/}-xvfb.log" || { echo "Xvfb did not start"; return 1; }
  wine_warm_up
}
