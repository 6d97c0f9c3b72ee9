# Source me:  . scripts/wine-env.sh
#   wine_env_up <rundir>  -> Xvfb on a free display (unless keep_display=1 and DISPLAY is set),
#                            a fresh WINEPREFIX and a persistent wineserver
#   wine_env_down         -> stops the wineserver, Xvfb, removes the prefix
#   wine_prefix_end       -> ends the wineserver of $WINEPREFIX and every process still running
#                            in that prefix (found by its environment; a wineserver that did
#                            not answer leaves them otherwise)
#   wine_own_folders      -> the prefix's user folders its own, not links to the home folder
#   wine_fonts            -> Wine's own fonts (Tahoma, the Marlett glyphs of the title-bar
#                            buttons) into the prefix's Fonts folder; this Wine does not load
#                            them from its data folder by itself
wine_fonts() {
  local d=$WINEPREFIX/drive_c/windows/Fonts
  [ -f "$d/marlett.ttf" ] && return 0
  mkdir -p "$d"
  cp /usr/share/wine/fonts/*.ttf "$d/" 2>/dev/null || true
}
# The user's folders (Desktop, Documents, ...) made the prefix's own, in place of Wine's links to
# this machine's home: the program records to its Desktop, and programs side by side must neither
# write to the home folder nor see each other's files.
wine_own_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
  done
  return 0
}
wine_env_up() {
  WINE_RUN=$1
  mkdir -p "$WINE_RUN/tmp"
  export TMPDIR="$WINE_RUN/tmp"   # Debian's wine keeps the wineserver socket under $TMPDIR
  export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset WINESERVER WINELOADER
  WINEPREFIX=$(mktemp -d "$WINE_RUN/wineprefix.XXXXXX"); export WINEPREFIX
  if [ -z "${DISPLAY:-}" ] || [ "${OST_OWN_DISPLAY:-1}" = 1 ]; then
    rm -f "$WINE_RUN/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -br -noreset \
      3>"$WINE_RUN/xvfb.display" >"$WINE_RUN/xvfb.log" 2>&1 &
    WINE_XVFB_PID=$!
    local i=0
    until [ -s "$WINE_RUN/xvfb.display" ]; do
      i=$((i + 1))
      if [ $i -gt 200 ] || ! kill -0 $WINE_XVFB_PID 2>/dev/null; then
        echo "Xvfb did not start" >&2; cat "$WINE_RUN/xvfb.log" >&2; return 1
      fi
      sleep 0.05
    done
    DISPLAY=":$(head -n1 "$WINE_RUN/xvfb.display")"; export DISPLAY
  fi
  # Daemons must not inherit our pipes: their output goes to a log.
  wineserver -p </dev/null >>"$WINE_RUN/wine-daemons.log" 2>&1
  wineboot -i </dev/null >>"$WINE_RUN/wine-daemons.log" 2>&1 || { cat "$WINE_RUN/wine-daemons.log" >&2; return 1; }
  wine_own_folders
  # Unmanaged windows: without a window manager every hide would wait for WM_STATE.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  wine_fonts
}

wine_prefix_end() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  local p
  for p in $(pgrep -u "$(id -u)" -f 'wine|\.exe' 2>/dev/null || true); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      kill -9 "$p" 2>/dev/null
  done
  return 0
}

wine_env_down() {
  wine_prefix_end
  if [ -n "${WINE_XVFB_PID:-}" ]; then
    kill "$WINE_XVFB_PID" 2>/dev/null || true
    wait "$WINE_XVFB_PID" 2>/dev/null || true
    unset WINE_XVFB_PID
  fi
  [ -n "${WINEPREFIX:-}" ] && rm -rf "$WINEPREFIX"
  [ -n "${WINE_RUN:-}" ] && rm -rf "${WINE_RUN:?}/tmp"
  return 0
}
