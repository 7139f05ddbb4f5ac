#!/usr/bin/env bash
# Runs inside Xvfb as the test's user: starts the installed tavlo from its menu entry with a
# firmware file, reads the file-name field back through the clipboard, lets Edit settings create
# the settings file, and closes the window. Prints one "ok"/"FAIL" line per check, and leaves
# pictures of the window and of any box it did not expect.
#   drive_installed_tavlo.sh FIRMWARE_FILE PICTURE_FOLDER
set -uo pipefail
firmware=$1
pictures=$2

# The id of a shown window whose title is exactly TITLE (xdotool's own matching ignores case)
# and that is not one of the ids after it; waits up to 15 s.
wait_for_window() {
    local title=$1 known=" ${*:2} " id deadline=$((SECONDS + 15))
    while ((SECONDS < deadline)); do
        for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
            if [[ $known != *" $id "* && "$(xdotool getwindowname "$id")" == "$title" ]]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.2
    done
    return 1
}

# Keys to a window: without a window manager the window is given the focus first.
press() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" && sleep 0.3 && xdotool key --clearmodifiers "$@"
}

# Closes every window but the main one, each after a picture of it, so that a flow that went
# astray still ends and shows what it met; a few rounds, since each box may open another.
close_other_windows() {
    local round id picture
    for round in 1 2 3 4 5; do
        id=$(xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$main" | head -1)
        [ -n "$id" ] || return 0
        picture=$pictures/unexpected-$round.png
        import -window "$id" "$picture"
        echo "    closed the window '$(xdotool getwindowname "$id")': see $(basename "$picture")"
        press "$id" Return
        sleep 0.5
    done
}

# Started from a folder without firmware files, so that the settings' pattern (*.rgn) cannot
# stand in for the file given.
mkdir -p "$HOME/elsewhere"
cd "$HOME/elsewhere" || exit 1
gtk-launch org.tavlo.Tavlo "$firmware" 2>/dev/null
if ! main=$(wait_for_window Tavlo); then
    echo "FAIL: the menu entry did not bring up the Tavlo window"
    exit 0
fi
pid=$(xdotool getwindowpid "$main")
echo "ok: the menu entry started tavlo (process $pid)"
sleep 1
import -window root "$pictures/from-menu.png"

press "$main" ctrl+a ctrl+c
sleep 0.5
field=$(timeout 5 xclip -out -selection clipboard 2>/dev/null)
if [ "$field" = "$firmware" ]; then
    echo "ok: the file-name field shows the file given to the menu entry"
else
    echo "FAIL: the file-name field shows '$field', not '$firmware'"
fi

press "$main" alt+e
if question=$(wait_for_window "Tavlo : Create default settings file ?" "$main"); then
    press "$question" alt+y
    # The editor ($VISUAL, here "true") returns at once; the box that waits for the user is
    # titled with the program's name, capitalised.
    if held=$(wait_for_window Tavlo "$main"); then
        press "$held" Return
        echo "ok: Edit settings asked, started the editor and waited for the user"
    else
        echo "FAIL: after Yes no box waited for the editing"
    fi
else
    echo "FAIL: Edit settings did not offer to create the settings file"
fi
close_other_windows

sleep 0.5
press "$main" Escape
for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: tavlo did not end on Escape"
    kill "$pid"
else
    echo "ok: tavlo ended on Escape"
fi
