# Sourced by test.sh, run.sh and the end-to-end tests: a Wine prefix that behaves like a player's Chinese
# Windows, a display, and a stand-in for the default browser. Nothing here leaves the machine.

# vesk_wine_env PREFIX: exports what every Wine call of ours needs. HOME is a scratch folder inside the
# prefix because Wine maps the Desktop, Documents and Downloads to it.
vesk_wine_env() {
    export WINEPREFIX="$1"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export LC_ALL=zh_CN.UTF-8
    # No Mono/Gecko prompts, no Linux menu entries for our shortcuts, no crash debugger that never ends.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"
    export HOME="$WINEPREFIX/home"
    export VESK_BROWSER_LOG="$WINEPREFIX/browser.log"
    case ":$PATH:" in *":$WINEPREFIX/bin:"*) ;; *) export PATH="$WINEPREFIX/bin:$PATH" ;; esac
}

# vesk_prepare_prefix: a fresh prefix at $WINEPREFIX (anything there before is removed).
vesk_prepare_prefix() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX/bin" "$HOME"
    # winebrowser tries xdg-open first: this one records the address instead of opening anything.
    cat > "$WINEPREFIX/bin/xdg-open" <<'REC'
#!/bin/sh
printf '%s\n' "$1" >> "${VESK_BROWSER_LOG:?}"
REC
    chmod +x "$WINEPREFIX/bin/xdg-open"
    : > "$VESK_BROWSER_LOG"
    wineboot -i >"$WINEPREFIX/wineboot.log" 2>&1
    wineserver -w
    # Debian's Wine looks for its own fonts on a broken path.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # The Chinese family names resolve only through replacements; Chinese text survives only in a UTF-16 file.
    local reg="$WINEPREFIX/fonts.reg"
    {
        printf '\xff\xfe'
        printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"微软雅黑"="WenQuanYi Zen Hei"\r\n"宋体"="WenQuanYi Zen Hei"\r\n"Microsoft YaHei"="WenQuanYi Zen Hei"\r\n"SimSun"="WenQuanYi Zen Hei"\r\n' |
            iconv -f UTF-8 -t UTF-16LE
    } > "$reg"
    wine regedit /S "$reg" >/dev/null 2>&1
    wineserver -w
}

# vesk_keep_wine_running: keeps the server and Wine's own services up between runs, so each program starts in a
# fraction of a second. The services start here with their output on /dev/null: started by a test they would
# inherit its output pipe and keep the test's reader waiting forever.
vesk_keep_wine_running() {
    wineserver -p
    wine cmd /c exit >/dev/null 2>&1 </dev/null
}

# vesk_prefix_busy: true while a Windows program of $WINEPREFIX runs (Wine's own services aside).
vesk_prefix_busy() {
    local environ exe
    for environ in /proc/[0-9]*/environ; do
        { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        exe=$({ tr '\0' '\n' <"${environ%/environ}/cmdline"; } 2>/dev/null | head -n 1)
        case "${exe,,}" in
            *'\windows\system32\'*|*/wineserver*|'') ;;
            *.exe) return 0 ;;
        esac
    done
    return 1
}

# vesk_start_display: uses $DISPLAY when there is one, otherwise starts Xvfb on a free display and a
# compositor (partial alpha of layered windows is blended only with one). Sets VESK_STARTED_PIDS.
vesk_start_display() {
    VESK_STARTED_PIDS="${VESK_STARTED_PIDS:-}"
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
    VESK_STARTED_PIDS="$VESK_STARTED_PIDS $!"
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    if ! xdpyinfo >/dev/null 2>&1; then
        echo "the virtual display $DISPLAY did not start (is Xvfb installed?)" >&2
        return 1
    fi
    xcompmgr >/dev/null 2>&1 &
    VESK_STARTED_PIDS="$VESK_STARTED_PIDS $!"
}

# vesk_stop_started: ends the Wine server and whatever vesk_start_display and the caller started.
vesk_stop_started() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1 || true
    local pid
    for pid in ${VESK_STARTED_PIDS:-}; do kill "$pid" >/dev/null 2>&1 || true; done
    for pid in ${VESK_STARTED_PIDS:-}; do wait "$pid" >/dev/null 2>&1 || true; done
    VESK_STARTED_PIDS=""
}
