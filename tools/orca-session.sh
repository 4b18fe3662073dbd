#!/bin/bash
# Runs the program under the Orca screen reader in a private headless
# session (Xvfb, Openbox, a D-Bus session with the AT-SPI bus), presses the
# keys of a step list one at a time and writes down what Orca said after
# each step. No sound card is needed: Orca logs every utterance before it
# hands it to the synthesizer.
#
#   tools/orca-session.sh [-b BUILD] [-o OUT] [-l LOCALE] [STEPS]
#
#   -b BUILD   build folder holding program/yanping (default: build)
#   -o OUT     folder for the logs (default: a new folder under /tmp)
#   -l LOCALE  the session's locale for Orca and the program
#              (default: zh_CN.UTF-8; made privately if the system lacks it)
#   STEPS      the step list; without it the steps are read from the
#              terminal, so that a maintainer can try keys one by one
#
# Step lines:
#   key KEYS...   xdotool key names: Tab, shift+Tab, space, Return, Escape,
#                 F10, alt+i, ctrl+F4, KP_Enter (where am I), KP_Add (say all)
#   hold MOD KEY  presses KEY while MOD is held at a human pace (alt Down)
#   type TEXT     types TEXT
#   wait SECONDS  waits longer than the usual pause
#   # TEXT        a heading, copied into the transcript
#
# Afterwards OUT holds transcript.txt (each step followed by Orca's
# "SPEECH OUTPUT" lines and the focus events Orca received), orca-debug.txt
# (Orca's whole debug output), program.txt (the program's own output) and,
# when ImageMagick is installed, screen.png (the screen at the end).
#
# Needs the maintainers' tools: orca, xvfb, xdotool, openbox, dbus-x11,
# at-spi2-core (apt-get install orca xvfb xdotool openbox dbus-x11
# at-spi2-core). They are not needed to build or to test the program.
set -u

if [ "${1:-}" = "--inside" ]; then
    shift
    OUT=$1 PROGRAM=$2 STEPS=$3
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0 GTK_MODULES=
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$OUT/atspi.txt" 2>&1 &
    for _ in $(seq 50); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
            >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox >/dev/null 2>&1 &
    sleep 1
    # Orca's debug output is line buffered only on a terminal: `script` gives
    # it one, so that each line is in the log when it is spoken.
    script -qfc "orca --replace -u '$OUT/orca-prefs' --debug-file /dev/stdout" /dev/null \
        >"$OUT/orca-raw.txt" 2>&1 &
    ORCA=$!
    for _ in $(seq 100); do
        grep -q "Orca is ready\|Loading Welcome" "$OUT/orca-raw.txt" 2>/dev/null && break
        sleep 0.2
    done
    sleep 2
    (cd "$(dirname "$PROGRAM")" && exec "$PROGRAM") >"$OUT/program.txt" 2>&1 &
    APP=$!
    for _ in $(seq 100); do
        xdotool search --onlyvisible --pid "$APP" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 4

    spoken() { # the speech and focus lines of the debug log after byte $1
        tail -c +"$(($1 + 1))" "$OUT/orca-raw.txt" | tr -d '\r' |
            grep -E "SPEECH OUTPUT:|SAY ALL:|OBJECT EVENT: object:state-changed:focused \(1," |
            sed -E -e 's/^[0-9:.]+ - //' -e "s/\{'established.*//" -e 's/ \{.*//' \
                -e 's/^OBJECT EVENT: object:state-changed:focused \(1, 0, (.*)\)$/   (focus -> \1)/'
    }
    step() {
        local before
        before=$(stat -c %s "$OUT/orca-raw.txt")
        case "$1" in
        key) shift; xdotool key --delay 150 "$@" ;;
        hold) xdotool keydown "$2"; sleep 0.3; xdotool key "$3"; sleep 0.3; xdotool keyup "$2" ;;
        type) shift; xdotool type --delay 120 "$*" ;;
        wait) sleep "$2" ;;
        *) return ;;
        esac
        sleep 2
        spoken "$before"
    }
    {
        echo "### opening"
        spoken 0
        while IFS= read -r line; do
            case "$line" in
            '' ) continue ;;
            '#'*) echo "##${line}" ;;
            *) echo "### $line"; read -ra words <<<"$line"; step "${words[@]}" ;;
            esac
        done <"$STEPS"
    } | tee "$OUT/transcript.txt"
    command -v import >/dev/null && import -window root "$OUT/screen.png" 2>/dev/null
    kill "$APP" 2>/dev/null
    sleep 1
    pkill -P "$ORCA" 2>/dev/null # Orca itself, under `script`
    kill "$ORCA" 2>/dev/null
    sleep 1
    for pidfile in "$XDG_RUNTIME_DIR"/speech-dispatcher/pid/*.pid; do
        [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
    done
    pkill -P $$ 2>/dev/null
    tr -d '\r' <"$OUT/orca-raw.txt" >"$OUT/orca-debug.txt" && rm -f "$OUT/orca-raw.txt"
    exit 0
fi

BUILD=build OUT= LOC=zh_CN.UTF-8
while getopts "b:o:l:" opt; do
    case $opt in
    b) BUILD=$OPTARG ;;
    o) OUT=$OPTARG ;;
    l) LOC=$OPTARG ;;
    *) sed -n '6,20p' "$0" >&2; exit 2 ;;
    esac
done
shift $((OPTIND - 1))
STEPS=${1:-/dev/stdin}

for tool in orca Xvfb xdotool openbox dbus-run-session script; do
    command -v "$tool" >/dev/null || { echo "orca-session: $tool is missing" >&2; exit 1; }
done
PROGRAM=$(realpath "$BUILD/program/yanping") || exit 1
[ -x "$PROGRAM" ] || { echo "orca-session: no program at $PROGRAM" >&2; exit 1; }
[ "$STEPS" = /dev/stdin ] || STEPS=$(realpath "$STEPS") || exit 1
OUT=${OUT:-$(mktemp -d /tmp/orca-session.XXXXXX)}
mkdir -p "$OUT/orca-prefs" && OUT=$(realpath "$OUT")

# The locale, made in the output folder when the system has not got it.
if ! locale -a 2>/dev/null | grep -qix "$(echo "$LOC" | sed 's/UTF-8/utf8/I')"; then
    mkdir -p "$OUT/locale"
    localedef -i "${LOC%%.*}" -f UTF-8 "$OUT/locale/$LOC" 2>/dev/null && export LOCPATH="$OUT/locale"
fi
export LANG=$LOC LANGUAGE=${LOC%%.*}

# A home of its own: Orca's and the speech server's settings and sockets
# stay in OUT. Speech goes to libao's null device, so that the synthesizer
# runs without a sound card and never holds Orca up.
mkdir -p "$OUT/home/.config" "$OUT/home/.cache" "$OUT/home/run"
chmod 700 "$OUT/home/run"
cp -r /etc/speech-dispatcher "$OUT/home/.config/"
echo 'AudioOutputMethod "libao"' >>"$OUT/home/.config/speech-dispatcher/speechd.conf"
echo "default_driver=null" >"$OUT/home/.libao"
export HOME="$OUT/home" XDG_CONFIG_HOME="$OUT/home/.config" XDG_CACHE_HOME="$OUT/home/.cache" \
    XDG_RUNTIME_DIR="$OUT/home/run"

# A free display number.
DISPLAY_NUMBER=90
while [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] || [ -e "/tmp/.X$DISPLAY_NUMBER-lock" ]; do
    DISPLAY_NUMBER=$((DISPLAY_NUMBER + 1))
done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x800x24 -nolisten tcp >"$OUT/xvfb.txt" 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break
    sleep 0.1
done
export DISPLAY=":$DISPLAY_NUMBER"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS
dbus-run-session -- "$0" --inside "$OUT" "$PROGRAM" "$STEPS"
echo "orca-session: logs in $OUT"
