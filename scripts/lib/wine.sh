# Shared by the scripts that run Windows programs under Wine. Source it; do not run it.

export WINEDEBUG=${WINEDEBUG:--all}
# Skip the Mono and Gecko installers: nothing here needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# wine_prefix <dir>: makes a throwaway prefix once, and removes its z: drive, which would map the
# whole Linux tree into every search of the fixed drives. Exports WINEPREFIX.
wine_prefix() {
  export WINEPREFIX=$1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
  fi
  rm -f "$WINEPREFIX/dosdevices/z:"
}

# wine_map_drive <letter> <linux folder>: points a drive letter of the current prefix at a folder.
wine_map_drive() {
  local link="$WINEPREFIX/dosdevices/${1,,}:"
  rm -f "$link"
  ln -s "$2" "$link"
}
