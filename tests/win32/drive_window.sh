#!/usr/bin/env bash
# Starts sumwright.exe under Wine on a virtual display and uses it as a user would: keys and
# clicks through xdotool, pastes through the X clipboard. window_driver.exe reads back what the
# windows show. Stops at the first check that fails.
#
#   drive_window.sh BUILD_DIR [--dpi DPI] [--screenshots DIR]
#
# BUILD_DIR is the windows preset's build folder; WINEPREFIX and the other Wine settings come
# from the environment (scripts/test-windows sets them). The script starts a display of its
# own and the prefix's Wine server on it, and stops both at the end.
# --dpi sets the display's dots per inch (96: 100 %, 144: 150 %). --screenshots writes
# windows-main-window.png (after the worked example) and windows-about.png to DIR.
set -euo pipefail

build=$(realpath "$1")
shift
dpi=96
shots=""
while [ $# -gt 0 ]; do
    case $1 in
    --dpi) dpi=$2; shift 2 ;;
    --screenshots) shots=$(realpath -m "$2"); shift 2 ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
    esac
done

exe=$build/src/winapp/sumwright.exe
driver=$build/tests/win32/window_driver.exe
settings='HKCU\Software\VB and VBA Program Settings\Sumwright\Settings'

source "$(dirname "$0")/../../scripts/lib.sh"
start_virtual_display

app=""
cleanup()
{
    if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; fi
    wine "$driver" sysinfo-cleanup >/dev/null 2>&1 || true
    wine reg delete 'HKCU\Software\VB and VBA Program Settings\Sumwright' /f >/dev/null 2>&1 || true
    wineserver -k 2>/dev/null || true
    stop_virtual_display
}
trap cleanup EXIT
trap 'exit 1' INT TERM

drv() { wine "$driver" "$@"; }

# check EXPECTED COMMAND...: the driver's answer must be EXPECTED exactly.
check()
{
    local expected=$1 got
    shift
    got=$(drv "$@") || true
    if [ "$got" != "$expected" ]; then
        echo "FAILED: $* gave [$got], expected [$expected]" >&2
        exit 1
    fi
}

# activate WINDOW FORM CONTROL: a click on the caption brings the window to the front with the
# focus back in CONTROL, as on Windows. Without a window manager Wine draws the frames itself;
# a first click after another program had the focus may only give Wine the X focus.
activate()
{
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    for _ in 1 2 3; do
        xdotool mousemove $((X + WIDTH / 2)) $((Y + 8)) click 1
        [ "$(drv focus "$2" "$3" 3)" = "$3" ] && return 0
    done
    [ -z "${FAILSHOT:-}" ] || import -window root "$FAILSHOT"
    echo "FAILED: $2 does not come to the front" >&2
    exit 1
}

# start [ARGUMENT...]: starts the program with the arguments, and waits for its window.
start()
{
    wine "$exe" "$@" >/dev/null 2>&1 &
    app=$!
    drv wait Form1
    main=$(xdotool search --sync --name '^Sumwright$' | head -1)
    xdotool windowfocus --sync "$main"
    check Text1 focus Form1 Text1
}

# ended [STATUS]: waits until the program has ended by itself, with STATUS (0 by default).
ended()
{
    local status=0
    for _ in $(seq 100); do
        if ! kill -0 "$app" 2>/dev/null; then
            wait "$app" || status=$?
            app=""
            [ "$status" = "${1:-0}" ] && return 0
            echo "FAILED: the program ended with status $status" >&2
            exit 1
        fi
        sleep 0.2
    done
    [ -z "${FAILSHOT:-}" ] || import -window root "$FAILSHOT"
    echo "FAILED: the program did not end" >&2
    exit 1
}

screenshot()
{
    [ -n "$shots" ] || return 0
    mkdir -p "$shots"
    sleep 0.5  # the last paint
    import -window "$1" "$shots/$2"
}

# The text of a stored setting, as `wine reg query` prints it.
setting()
{
    wine reg query "$settings" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_SZ *//p"
}

# Wine's desktop process takes the display it was started with: start the server afresh here.
wineserver -k 2>/dev/null || true
wineserver -p
wine wineboot >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null
wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseTakeFocus /t REG_SZ /d N /f >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
# Wine as packaged by Debian does not look in its own font folder: Tahoma for the dialogs,
# Marlett for the caption buttons.
cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Sumwright' /f >/dev/null 2>&1 || true
drv sysinfo-setup

echo "The worked example"
start
check "Sumwright" caption Form1
for box in Text1 Text2 Text3 Text4 Text5 Text6 Text7 Text8 Label6; do check "" text Form1 $box; done
xdotool type 'x^2+y'
check "Input has changed since the last evaluation." text Form1 Label6
xdotool key Tab && xdotool type 'z+1.5'
xdotool key Tab && xdotool type '3'
xdotool key Tab && xdotool type '1.5'
xdotool key Tab
check Command1 focus Form1 Command1
xdotool key space
check " Evaluation successful." text Form1 Label6
check 12 text Form1 Text5
check 3 text Form1 Text6
check 3 text Form1 Text7
check 1.5 text Form1 Text8
check Formula name Form1 Text1
check Evaluate name Form1 Command1
check " Evaluation successful." name Form1 Label6  # a screen reader reads the status
screenshot "$main" windows-main-window.png

echo "Enter and Esc press nothing in the main window, and Esc closes it from no box"
xdotool key shift+Tab
check Text4 focus Form1 Text4
xdotool key Return Escape
check " Evaluation successful." text Form1 Label6
check 1 count Form1
xdotool key shift+Tab shift+Tab shift+Tab
for box in Text1 Text2 Text3 Text4 Command1 Text5 Text6 Text7 Text8; do
    check $box focus Form1 $box
    xdotool key Escape
    check 1 count Form1
    check 'x^2+y' text Form1 Text1
    xdotool key Tab
done
xdotool key Tab Tab Tab
check Text4 focus Form1 Text4

echo "Clear All from the keyboard"
xdotool key alt+o a
for box in Text1 Text2 Text3 Text4 Text5 Text6 Text7 Text8; do check "" text Form1 $box; done
check "Input has changed since the last evaluation." text Form1 Label6

echo "A line break in the formula, Tab to move on, and an error"
xdotool key shift+Tab shift+Tab shift+Tab
check Text1 focus Form1 Text1
xdotool type '1+'
xdotool key Return
check '1+\r\n' text Form1 Text1
xdotool key Tab
check Text2 focus Form1 Text2
xdotool key Tab Tab Tab space
check " Error" text Form1 Text5
check "Syntax error:  a valid mathematical formula has not been entered." text Form1 Label6
# the box with the problem takes the focus, the caret where something is missing
check Text1 focus Form1 Text1
check "4 4" selection Form1 Text1

echo "A formula over the length limit is kept whole and reported"
# 32,769 characters in lines: Wine's multi-line edit box takes minutes to wrap one paragraph
# that long, though Windows' does not.
line=$(printf '1 + %.0s' $(seq 15))
{ for _ in $(seq 536); do echo "$line"; done; printf 1; } | xclip -selection clipboard 2>/dev/null
xdotool key ctrl+a ctrl+v
check 33233 length Form1 Text1  # each line break is "\r\n" in the box
xdotool key Tab Tab Tab Tab space
check " Error" text Form1 Text5
check "The formula is too long: a formula may have at most 32767 characters." text Form1 Label6
check Text1 focus Form1 Text1
check "32767 33233" selection Form1 Text1  # all past the limit

echo "A problem in the formula for Y takes the focus there"
xdotool key alt+o a
check Text1 focus Form1 Text1
xdotool type 'y'
xdotool key Tab Tab
xdotool type '2*)'
xdotool key Tab Tab space
check "Syntax error:  a valid mathematical formula for Y has not been entered." text Form1 Label6
check Text3 focus Form1 Text3
check "2 3" selection Form1 Text3

echo "Save Input on Exit keeps the input in the registry"
{ printf '1 + %.0s' $(seq 8192); printf 1; } | xclip -selection clipboard 2>/dev/null
xdotool key alt+o a
xdotool key shift+Tab shift+Tab
check Text1 focus Form1 Text1
xdotool type '  x^2+y'
xdotool key Return
xdotool type '+1 '
xdotool key Tab ctrl+v Tab
xdotool type 3
xdotool key alt+o s
[ -z "$(setting SaveIndicator)" ] || { echo "FAILED: stored before exit" >&2; exit 1; }
xdotool key alt+o x
ended
[ "$(setting SaveIndicator)" = True ] || { echo "FAILED: SaveIndicator" >&2; exit 1; }
[ "$(setting Y)" = 3 ] || { echo "FAILED: Y" >&2; exit 1; }
[ "$(setting X | wc -c)" = 32770 ] || { echo "FAILED: X is not whole" >&2; exit 1; }

echo "The next start restores it"
start
check '  x^2+y\r\n+1 ' text Form1 Text1
check 32769 length Form1 Text2
check 3 text Form1 Text3
check "" text Form1 Text4
check "" text Form1 Label6
xdotool key alt+o s  # unchecked at exit: only the indicator changes
xdotool key alt+o x
ended
[ "$(setting SaveIndicator)" = False ] || { echo "FAILED: SaveIndicator" >&2; exit 1; }
[ "$(setting Y)" = 3 ] || { echo "FAILED: Y was not kept" >&2; exit 1; }

echo "About, System Info, one dialog, and the last window ends the program"
start
check "" text Form1 Text1
xdotool key alt+h a
check cmdOK focus frmAbout cmdOK
about=$(xdotool search --sync --name '^About Sumwright$' | head -1)
check "About Sumwright" caption frmAbout
check Sumwright text frmAbout lblTitle
check "Version 1.0.6" text frmAbout lblVersion
screenshot "$about" windows-about.png
xdotool key alt+s
drv sysinfo-ran || { echo "FAILED: the viewer did not start" >&2; exit 1; }
activate "$main" Form1 Text1
xdotool key alt+h a
check cmdSysInfo focus frmAbout cmdSysInfo  # the same dialog, focus on the button Alt+S pressed
check 1 count frmAbout
xdotool key Escape
drv gone frmAbout || { echo "FAILED: Esc left the About dialog open" >&2; exit 1; }
xdotool key alt+h a
check cmdOK focus frmAbout cmdOK
about=$(xdotool search --sync --name '^About Sumwright$' | head -1)
activate "$main" Form1 Text1
xdotool key alt+o x
drv gone Form1 || { echo "FAILED: Exit left the main window open" >&2; exit 1; }
check 1 count frmAbout
kill -0 "$app" || { echo "FAILED: the program ended with the About dialog open" >&2; exit 1; }
activate "$about" frmAbout cmdOK
xdotool key Return
ended
echo "A refused save is reported before the program ends"
start
xdotool key alt+o s
drv settings-readonly
xdotool key alt+o x
drv gone Form1 || { echo "FAILED: the main window stayed" >&2; exit 1; }
expected='Sumwright must close because of an error:\n\nYour input could not be saved. '
expected+='Cannot write the setting HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\'
expected+='Sumwright\\Settings\\SaveIndicator: Access denied.'  # Wine's text for the refusal
check "$expected" message
xdotool windowfocus --sync "$(xdotool search --sync --name '^Sumwright$' | head -1)"
xdotool key Return
ended 1

echo "The History window: Use, Delete and Export"
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Sumwright' /f >/dev/null 2>&1 || true
rm -f "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/Sumwright/history.jsonl \
    "$WINEPREFIX/drive_c/history.csv"
start
xdotool type '1+1'
xdotool key Tab Tab Tab Tab space
check " Evaluation successful." text Form1 Label6
xdotool key shift+Tab shift+Tab shift+Tab shift+Tab
check Text1 focus Form1 Text1
xdotool key ctrl+a
xdotool type '2*3'
xdotool key Tab Tab Tab Tab space
check 6 text Form1 Text5
xdotool key alt+o h
check txtSearch focus frmHistory txtSearch
check "2 entries" text frmHistory lblCount
check "Sumwright History" caption frmHistory
history=$(xdotool search --sync --name '^Sumwright History$' | head -1)
screenshot "$history" windows-history.png
xdotool type '1+'
check "1 of 2 entries" text frmHistory lblCount
xdotool key ctrl+a BackSpace Tab
check lstHistory focus frmHistory lstHistory
xdotool key Down Return  # the older entry
check '1+1' text Form1 Text1
check "Input has changed since the last evaluation." text Form1 Label6
activate "$history" frmHistory lstHistory
xdotool key Delete
check "1 entry" text frmHistory lblCount
xdotool key alt+e
dialog=$(xdotool search --sync --name '^Save As$' | head -1)
xdotool windowfocus --sync "$dialog"
sleep 1
xdotool type 'C:\history.csv'
xdotool key Return
for _ in $(seq 50); do [ -s "$WINEPREFIX/drive_c/history.csv" ] && break; sleep 0.2; done
grep -q '"2\*3","","","","6"' "$WINEPREFIX/drive_c/history.csv" \
    || { echo "FAILED: the export lacks the entry" >&2; exit 1; }
! grep -q '"1+1"' "$WINEPREFIX/drive_c/history.csv" \
    || { echo "FAILED: the deleted entry was exported" >&2; exit 1; }
activate "$history" frmHistory cmdExport
xdotool key Escape
drv gone frmHistory || { echo "FAILED: Esc left the History window open" >&2; exit 1; }
xdotool windowfocus --sync "$main"
xdotool key alt+o x
ended

echo "The end of the session stores the input as closing the window does"
# ABOUT: whether the About dialog is open too; SAVE: whether "Save Input on Exit" is checked.
for case in "no-about save" "about save" "no-about no-save"; do
    read -r about save <<<"$case"
    echo "  $about, $save"
    wine reg delete 'HKCU\Software\VB and VBA Program Settings\Sumwright' /f >/dev/null 2>&1 || true
    start
    xdotool type "7*$about"
    [ "$save" = no-save ] || xdotool key alt+o s
    if [ "$about" = about ]; then
        xdotool key alt+h a
        check cmdOK focus frmAbout cmdOK
    fi
    wine wineboot --end-session >/dev/null 2>&1
    ended
    if [ "$save" = save ]; then
        [ "$(setting SaveIndicator)" = True ] || { echo "FAILED: SaveIndicator" >&2; exit 1; }
        [ "$(setting Formula)" = "7*$about" ] || { echo "FAILED: Formula" >&2; exit 1; }
    else
        [ "$(setting SaveIndicator)" = False ] || { echo "FAILED: SaveIndicator" >&2; exit 1; }
        [ -z "$(setting Formula)" ] || { echo "FAILED: Formula was stored" >&2; exit 1; }
    fi
done

echo "In German, from the argument: the texts, the status and the About dialog"
wine reg delete 'HKCU\Software\VB and VBA Program Settings\Sumwright' /f >/dev/null 2>&1 || true
start --language de
check Eingabe text Form1 Frame1
check Ergebnisse text Form1 Frame2
check Auswerten text Form1 Command1
check Formel name Form1 Text1
xdotool type 'x^2+y'
check "Eingabe seit letzter Auswertung geändert." text Form1 Label6
xdotool key Tab && xdotool type 'z+1.5'
xdotool key Tab && xdotool type '3'
xdotool key Tab && xdotool type '1.5'
xdotool key Tab space
check " Auswertung erfolgreich." text Form1 Label6
check " Auswertung erfolgreich." name Form1 Label6
check 12 text Form1 Text5
screenshot "$main" windows-main-window-de.png
xdotool key alt+h o
check cmdOK focus frmAbout cmdOK
check "Info über Sumwright" caption frmAbout
check "&System..." text frmAbout cmdSysInfo
xdotool key Escape
drv gone frmAbout || { echo "FAILED: Esc left the About dialog open" >&2; exit 1; }
xdotool windowfocus --sync "$main"
xdotool key alt+o b
ended

echo "In Japanese, from the user's language"
LC_ALL=ja_JP.UTF-8 start
xdotool type 'x^2+y'
xdotool key Tab && xdotool type 'z+1.5'
xdotool key Tab && xdotool type '3'
xdotool key Tab && xdotool type '1.5'
xdotool key Tab space
check " 計算に成功しました。" text Form1 Label6
screenshot "$main" windows-main-window-ja.png
xdotool key alt+o x
ended

echo "The window behaves as it should."
