#!/usr/bin/env bash
# Draws the package's icons (16, 32 and 48 pixels each) with ImageMagick and
# writes them as .ico files beside this script. The .ico files are kept in
# the repository; run this again only after changing a drawing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every drawing is laid out on a 48-unit grid; s() scales one coordinate.
s() { echo $(( ($1 * size + 24) / 48 )); }

# The touch screen: a dark bezel, a blue glass and a stand.
screen() {
    echo "-fill '#303840' -draw 'roundrectangle $(s 2),$(s 4) $(s 45),$(s 36) $(s 3),$(s 3)'"
    echo "-fill '#3c8cdc' -draw 'rectangle $(s 6),$(s 8) $(s 41),$(s 32)'"
    echo "-fill '#303840' -draw 'rectangle $(s 20),$(s 36) $(s 27),$(s 41)'"
    echo "-fill '#303840' -draw 'rectangle $(s 12),$(s 41) $(s 35),$(s 44)'"
}

# A touch point: white rings around a red dot.
touch_point() {
    local x=$1 y=$2
    echo "-fill none -stroke white -strokewidth $(( size / 16 + 1 )) -draw 'circle $(s $x),$(s $y) $(s $((x + 7))),$(s $y)'"
    echo "-stroke none -fill '#e03030' -draw 'circle $(s $x),$(s $y) $(s $((x + 3))),$(s $y)'"
}

# Calibration: a red cross-hair target on white.
target() {
    echo "-fill white -stroke '#303840' -strokewidth $(( size / 24 + 1 )) -draw 'circle $(s 24),$(s 24) $(s 45),$(s 24)'"
    echo "-fill none -stroke '#e03030' -strokewidth $(( size / 16 + 1 )) -draw 'circle $(s 24),$(s 24) $(s 37),$(s 24)'"
    echo "-stroke '#303840' -strokewidth $(( size / 24 + 1 )) -draw 'line $(s 24),$(s 2) $(s 24),$(s 46)' -draw 'line $(s 2),$(s 24) $(s 46),$(s 24)'"
    echo "-stroke none -fill '#e03030' -draw 'circle $(s 24),$(s 24) $(s 28),$(s 24)'"
}

# Settings: the screen with two slider bars and their knobs.
sliders() {
    echo "-stroke none -fill white -draw 'rectangle $(s 10),$(s 14) $(s 37),$(s 15)' -draw 'rectangle $(s 10),$(s 25) $(s 37),$(s 26)'"
    echo "-fill '#f0c020' -draw 'rectangle $(s 15),$(s 11) $(s 19),$(s 18)' -draw 'rectangle $(s 28),$(s 22) $(s 32),$(s 29)'"
}

# Right button: a mouse outline with its right button lit.
right_button() {
    echo "-fill white -stroke '#303840' -strokewidth $(( size / 24 + 1 )) -draw 'roundrectangle $(s 10),$(s 3) $(s 38),$(s 45) $(s 12),$(s 12)'"
    echo "-stroke none -fill '#e03030' -draw 'rectangle $(s 25),$(s 6) $(s 35),$(s 20)'"
    echo "-stroke '#303840' -draw 'line $(s 24),$(s 3) $(s 24),$(s 21)' -draw 'line $(s 10),$(s 21) $(s 38),$(s 21)'"
}

declare -A drawings=(
    [kvusb]="screen; touch_point 28 20"
    [calibrate]="target"
    [settings]="screen; sliders; touch_point 33 27"
    [rbutton]="right_button"
)

for name in "${!drawings[@]}"; do
    frames=()
    for size in 16 32 48; do
        commands=$(eval "${drawings[$name]}" | tr '\n' ' ')
        eval "convert -size ${size}x${size} xc:none $commands -depth 8 PNG32:$work/$name-$size.png"
        frames+=("$work/$name-$size.png")
    done
    convert "${frames[@]}" "$here/$name.ico"
done
echo "icons written to $here"
