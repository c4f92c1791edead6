#!/usr/bin/env bash
# The Windows build under Wine: every golden recording replays frame for frame
# in the cross-built headless runner, and the zip's game, needing no DLL but
# Windows' own, plays on a virtual display: its window opens, New Game starts
# play, with no sound device the title says so while play goes on, play
# pauses behind another program, F11 works, a second copy hands over to the
# first, closing exits 0 and leaves the high-score file as it was, and the
# session it recorded replays. With a sound device the mixer's buffers go
# round through waveOut, and M silences them.
#   tests/windows/wine.sh BUILD_WIN
set -u
win=$(cd "$1" && pwd)
golden=$(cd "$(dirname "$0")/../replay/golden" && pwd)
work="$win/wine-test"
rm -rf "$work" && mkdir -p "$work/home" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
xdo() { xdotool "$@" 2>/dev/null; }   # quiet about the focus of a display with no window manager

# A prefix of its own, whose user folders (Pictures) live in the scratch home.
export WINEPREFIX="$win/wine-prefix" WINEDEBUG=-all HOME="$work/home"
# No sound device, whatever the machine has, and no offer to fetch .NET or a browser engine.
export WINEDLLOVERRIDES="winealsa.drv,winepulse.drv,wineoss.drv,mscoree,mshtml=d"
[ -d "$WINEPREFIX" ] || wine wineboot -i >/dev/null 2>&1
hex() { if [ -s "$1" ]; then od -An -tx1 -v "$1" | tr -d ' \n'; else echo none; fi; }
fact() { sed -n "s/^$1 //p" "$2"; }

for rec in "$golden"/*.rec; do
    name=$(basename "$rec" .rec)
    mkdir "$work/$name"
    (cd "$work/$name" && wine "$win/space-shooter-headless.exe" --replay "$rec" --hash >out.txt 2>err.txt) ||
        { fail "$name does not replay: $(tr -d '\r' <"$work/$name/err.txt")"; continue; }
    out=$(tr -d '\r' <"$work/$name/out.txt")
    expect="$golden/$name.expect"
    found="frames=$(echo "$out" | sed -n 's/.* frames=\([0-9]*\).*/\1/p') last=$(echo "$out" | grep '^frame ' | tail -1 | sed 's/.* hash //') scores=$(hex "$work/$name/Skyrend.dat")"
    wanted="frames=$(fact frames "$expect") last=$(fact last-frame "$expect") scores=$(fact high-scores "$expect")"
    [ "$found" = "$wanted" ] || fail "$name ends as $found, not $wanted"
done

# The game from the zip, with a high-score table of its own beside it.
app="$work/app"
mkdir -p "$app" && (cd "$app" && cmake -E tar xf "$win/space-shooter-windows-x64.zip") || exit 1
app="$app/space-shooter-windows-x64"
# Only Windows' own DLLs; the icon group 107 and the version as resources.
exe="$app/space-shooter.exe"
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
[ "$dlls" = "gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll winmm.dll " ] || fail "the program needs $dlls"
resources=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n '/The .rsrc Resource Directory/,$p')
echo "$resources" | grep -q "^...   Entry: ID: 0x00000e" && echo "$resources" | grep -q "^...     Entry: ID: 0x00006b" &&
    echo "$resources" | grep -q "^...   Entry: ID: 0x000010" || fail "the program lacks its icon or version resource"
# The table a golden game ended with: a name and a score in the first records.
printf "$(fact high-scores "$golden/autopilot-game-over.expect" | sed 's/../\\x&/g')" >"$app/Skyrend.dat"
cp "$app/Skyrend.dat" "$work/scores-before"
display=:$(( $$ % 300 + 400 ))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
start() {   # starts the game with arguments $2.., its exit code into $work/$1.rc; sets $window
    (cd "$app" && wine space-shooter.exe "${@:2}" >"$work/$1.txt" 2>&1; echo $? >"$work/$1.rc") &
    window=$(timeout 60 xdotool search --sync --name '^Space Shooter' 2>/dev/null | head -1)
    [ -n "$window" ] || { fail "the window did not open"; exit 1; }
    sleep 4
}
close() {   # Alt+F4, then the exit code must be 0
    xdo key --window "$window" alt+F4
    for _ in $(seq 20); do [ -f "$work/$1.rc" ] && break; sleep 1; done
    [ "$(cat "$work/$1.rc" 2>/dev/null)" = 0 ] || fail "closing the window did not end the program with 0"
}
start game --record "$work/session.rec"
pictures="$work/home"
shot() {   # F12, then the newest 1x screenshot is copied to $work/$1.png
    sleep 1.1
    xdo key --window "$window" F12
    sleep 1
    newest=$(ls -t "$pictures"/space-shooter-*[0-9].png "$pictures"/Pictures/space-shooter-*[0-9].png 2>/dev/null | head -1)
    [ -n "$newest" ] && cp "$newest" "$work/$1.png"
}
differ() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" -gt 5000 ] 2>/dev/null; }

xdo windowfocus "$window"
shot menu || fail "F12 saved no screenshot"
scale=$(( $(xdo getwindowgeometry "$window" | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p') / 240 ))
xdo mousemove --window "$window" $((120 * scale)) $((90 * scale)) click 1   # New Game
sleep 1
xdo getwindowname "$window" | grep -q "no sound device" || fail "the title did not tell of the missing sound device"
shot play
differ menu play || fail "New Game did not start play (the screenshot is the menu's)"
[ "$(convert "$work/play.png" -format %k info:)" -gt 100 ] || fail "the play screenshot is nearly blank"

# Another program in front pauses play; a click on the window resumes it.
grab() { sleep "$2"; import -window "$window" "$work/$1.png"; }
xmessage -geometry +600+0 "in front" &
other=$!
front=$(timeout 10 xdotool search --sync --name '^xmessage$' 2>/dev/null | head -1)
# Wine deactivates its window when the X focus leaves it, so it must have it
# first; it sometimes misses the first change, so three tries are allowed.
for _ in 1 2 3; do
    xdo windowfocus "$window" && sleep 1
    xdo windowfocus "$front"
    grab away1 1 && grab away2 1.5
    differ away1 away2 || break
done
differ away1 away2 && fail "play went on behind another program"
xdo mousemove --window "$window" $((120 * scale)) $((300 * scale)) click 1
grab back1 1 && grab back2 1.5
differ back1 back2 || fail "play did not resume when the window came back to the front"
kill $other

# F11 fills the screen and gives the window back.
size() { xdo getwindowgeometry "$window" | sed -n 's/.*Geometry: //p'; }
windowed=$(size)
xdo key --window "$window" F11 && sleep 1
[ "$(size)" = 1024x768 ] || fail "F11 did not fill the screen"
xdo key --window "$window" F11 && sleep 1
[ "$(size)" = "$windowed" ] || fail "F11 did not give the window back"

# A second copy finds the first by its window class and title, and ends.
(cd "$app" && timeout 20 wine space-shooter.exe >/dev/null 2>&1) || fail "the second copy did not end by itself"
[ "$(xdo search --name '^Space Shooter' | wc -l)" = 1 ] || fail "a second window opened"

close game
cmp -s "$work/scores-before" "$app/Skyrend.dat" || fail "the high-score file changed"
[ ! -e "$app/hscore.tmp" ] || fail "a temporary high-score file was left"
# The session was recorded as on Linux, so the runner plays it again frame
# for frame (Linux and Windows runners agree on the golden recordings above).
mkdir "$work/session"
(cd "$work/session" && wine "$win/space-shooter-headless.exe" --replay "$work/session.rec" >out.txt 2>err.txt) ||
    fail "the recorded session does not replay: $(tr -d '\r' <"$work/session/err.txt")"

# With a sound device (ALSA's file plugin, which writes down what it plays)
# the mixer's buffers go round through waveOut, and M turns them to silence.
played="$work/played.raw"
mkdir -p "$work/sound-home"
printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\nctl.!default { type null }\n' "$played" \
    >"$work/sound-home/.asoundrc"
HOME="$work/sound-home" WINEDLLOVERRIDES="winepulse.drv,wineoss.drv,mscoree,mshtml=d" start sound
fire() { xdo keydown --window "$window" space && sleep 2 && xdo keyup --window "$window" space && sleep 1; }
bytes() { stat -c %s "$played" 2>/dev/null || echo 0; }
loud() { tail -c +$(($1 + 1)) "$played" | head -c $(($2 - $1)) | od -An -v -tx1 | tr -s ' ' '\n' | grep -vc '^80$\|^$'; }
xdo mousemove --window "$window" $((120 * scale)) $((90 * scale)) click 1 && sleep 1
xdo getwindowname "$window" | grep -q "no sound device" && fail "the sound device did not open"
fire
heard=$(bytes)
[ "$heard" -gt 50000 ] && [ "$(loud 0 "$heard")" -gt 1000 ] || fail "the game's sound did not reach the device"
xdo key --window "$window" m && sleep 1
xdo getwindowname "$window" | grep -q "sound off" || fail "M did not say the sound is off"
muted=$(bytes)
fire
[ "$(bytes)" -gt $((muted + 50000)) ] || fail "muted, the buffers stopped going round"
[ "$(loud "$muted" "$(bytes)")" = 0 ] || fail "M did not silence the sound"
close sound

[ "$failures" = 0 ] && echo "wine: all passed"
[ "$failures" = 0 ]
