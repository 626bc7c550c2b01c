#!/usr/bin/env bash
# Makes every file of the demo game below data/ from scratch with Debian
# tools: pictures with ImageMagick, music with sox, voices with espeak-ng,
# Ogg Vorbis with oggenc, the scenario's Windows-1251 bytes with iconv.
# The results are committed, so playing the demo never needs this script.
# Running it again gives the same files.
set -euo pipefail
cd "$(dirname "$0")"
source ../scripts/packages.sh
ensure_packages $ASSET_PACKAGES

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p data/gfx data/fnt data/mfx/voc data/scenario

# PNG files without time stamps or colour chunks, so that a run repeats byte
# for byte and the engine reads the colours exactly as drawn.
opaque() { echo "-strip -dither None -colors 256 PNG8:$1"; }
translucent() { echo "-strip PNG32:$1"; }

# --- Backgrounds, 800 x 600 -------------------------------------------------

# A round picture: the square one made round by a soft-edged circle.
round() {  # round <size> <square picture> <output>
    local size=$1 half=$(($1 / 2))
    convert "$2" \( -size "${size}x$size" xc:black -fill white \
        -draw "circle $half,$half $half,1" -blur 0x1 \) \
        -alpha off -compose CopyOpacity -composite "$3"
}

harbour() {
    convert -size 800x360 gradient:'#3b2a5c'-'#f29e5c' \
        -fill '#ffd98a' -draw 'circle 560,360 560,318' "$work/sky.png"
    convert -size 800x240 gradient:'#3d5a7e'-'#101d33' "$work/sea.png"
    convert "$work/sky.png" "$work/sea.png" -append \
        -fill '#1d1b2e' -draw 'polygon 0,361 0,250 110,212 250,226 350,290 430,361' \
        -fill '#e9e2d0' -draw 'polygon 150,224 160,128 196,128 206,224' \
        -fill '#b0413e' -draw 'polygon 154,188 157,160 199,160 202,188' \
        -fill '#2b2740' -draw 'rectangle 162,104 194,128' \
        -fill '#1d1b2e' -draw 'polygon 156,106 178,84 200,106' \
        -fill '#f3b27a' -draw 'rectangle 470,372 650,375' -draw 'rectangle 500,390 620,392' \
        -draw 'rectangle 530,410 590,412' \
        -fill '#2a2030' -draw 'rectangle 560,352 800,362' -draw 'rectangle 600,362 606,420' \
        -draw 'rectangle 680,362 686,430' -draw 'rectangle 760,362 766,440' \
        $(opaque data/gfx/harbour.png)
}

lamproom() {
    convert -size 220x220 radial-gradient:'#fff1b8'-'#9a6424' "$work/glow.png"
    round 220 "$work/glow.png" "$work/lens.png"
    convert -size 800x600 gradient:'#6b4630'-'#2a1b14' \
        -fill '#3a261c' -draw 'rectangle 0,430 800,600' \
        -fill '#24170f' -draw 'line 0,470 800,470' -draw 'line 0,515 800,515' \
        -draw 'line 0,560 800,560' \
        -fill '#1a2340' -draw 'rectangle 560,90 740,330' \
        -fill '#e8e4cf' -draw 'circle 690,140 690,128' \
        -fill '#fff7d8' -draw 'rectangle 600,120 601,121' -draw 'rectangle 640,200 641,201' \
        -draw 'rectangle 580,260 581,261' -draw 'rectangle 710,250 711,251' \
        -draw 'rectangle 620,110 621,111' \
        -fill '#4a3022' -draw 'rectangle 552,82 748,90' -draw 'rectangle 552,330 748,338' \
        -draw 'rectangle 552,82 560,338' -draw 'rectangle 740,82 748,338' \
        -draw 'rectangle 646,90 654,330' \
        -fill '#55402f' -draw 'rectangle 130,352 250,430' \
        "$work/lens.png" -geometry +80+140 -composite \
        -fill none -stroke '#3b2a1a' -strokewidth 6 -draw 'circle 190,250 190,140' \
        -stroke '#c9a15a' -strokewidth 2 -draw 'line 190,142 190,358' \
        -draw 'line 82,250 298,250' \
        $(opaque data/gfx/lamproom.png)
}

pier() {
    convert -size 800x330 gradient:'#070c22'-'#2b3f6b' "$work/sky.png"
    convert -size 800x270 gradient:'#1b3352'-'#050b16' "$work/sea.png"
    convert -size 120x120 radial-gradient:'#f3f0d8'-'#2b3f6b' "$work/glow.png"
    round 120 "$work/glow.png" "$work/moon.png"
    convert "$work/sky.png" "$work/sea.png" -append \
        "$work/moon.png" -geometry +560+50 -composite \
        -fill '#fbf8e6' -draw 'circle 620,110 620,84' \
        -fill '#d8d4b8' -draw 'rectangle 560,345 680,347' -draw 'rectangle 585,365 655,367' \
        -draw 'rectangle 605,390 635,392' \
        -fill '#4a3527' -draw 'polygon 330,330 390,330 520,600 120,600' \
        -fill '#35251b' -draw 'rectangle 312,330 318,372' -draw 'rectangle 402,330 408,372' \
        -draw 'rectangle 150,420 160,560' -draw 'rectangle 490,420 500,560' \
        -fill '#2a1c14' -draw 'line 290,380 430,380' -draw 'line 250,440 470,440' \
        -draw 'line 200,510 500,510' \
        -fill '#ffcf6a' -draw 'circle 315,322 315,315' \
        $(opaque data/gfx/pier.png)
}

# --- Characters: soft-edged silhouettes, 300 x 600, standing on the bottom --

# A figure in a vertical gradient whose outline (white on black draw
# commands) is blurred into a soft alpha edge.
figure() {  # figure <name> <top colour> <bottom colour> <draw commands...>
    local name=$1 top=$2 bottom=$3
    shift 3
    local draw=()
    for shape in "$@"; do draw+=(-draw "$shape"); done
    convert -size 300x600 xc:black -fill white "${draw[@]}" -blur 0x3 "$work/mask.png"
    convert -size 300x600 gradient:"$top"-"$bottom" "$work/mask.png" \
        -alpha off -compose CopyOpacity -composite $(translucent "data/gfx/$name.png")
}

characters() {
    figure mira '#5cc2b3' '#17443f' \
        'circle 150,160 150,137' 'ellipse 150,215 40,48 0,360' 'rectangle 138,250 162,292' \
        'roundrectangle 94,282 206,470 40,40' 'roundrectangle 66,304 90,470 12,12' \
        'roundrectangle 210,304 234,470 12,12' 'polygon 96,430 204,430 252,600 48,600'
    figure tomas '#d9a441' '#5e3f12' \
        'ellipse 150,168 56,14 0,360' 'ellipse 150,150 42,26 180,360' \
        'ellipse 150,205 42,48 0,360' 'rectangle 134,240 166,285' \
        'roundrectangle 70,272 230,520 48,48' 'roundrectangle 38,296 64,500 13,13' \
        'roundrectangle 236,296 262,500 13,13' 'rectangle 92,500 208,600'
    figure ilya '#b77ac0' '#3a1a40' \
        'roundrectangle 106,100 194,160 30,22' 'ellipse 150,200 38,46 0,360' \
        'rectangle 136,236 164,276' 'roundrectangle 84,266 216,440 36,36' \
        'roundrectangle 58,290 80,470 11,11' 'roundrectangle 220,290 242,470 11,11' \
        'polygon 86,420 214,420 236,600 64,600'
}

# --- The text box and the cursor ---------------------------------------------

interface() {
    convert -size 800x150 xc:'rgba(14,20,38,0.706)' \
        -fill 'rgba(201,161,90,0.86)' -draw 'rectangle 0,0 800,1' \
        $(translucent data/menubg.png)
    # The mouse position is pixel (32, 32) of a cursor picture.
    convert -size 64x64 xc:none -fill white -stroke black -strokewidth 1.5 \
        -draw 'polygon 32,32 32,53 37,48 41,57 45,55 41,46 48,46' \
        $(translucent data/arrow.png)
    convert -size 64x64 xc:none -fill none -stroke black -strokewidth 5 \
        -draw 'circle 32,32 32,21' -stroke white -strokewidth 3 -draw 'circle 32,32 32,21' \
        -fill black -stroke none -draw 'circle 32,32 32,30' \
        $(translucent data/busy.png)
}

# --- Font ---------------------------------------------------------------------

font() {
    cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf data/fnt/font.ttf
    cp /usr/share/doc/fonts-dejavu-core/copyright data/fnt/LICENSE
}

# --- Sound: 44100 Hz stereo Ogg Vorbis ----------------------------------------

serial=1
ogg() {  # ogg <wav> <output>: low quality keeps the files small
    sox -R "$1" -r 44100 -c 2 -b 16 -e signed-integer "$work/stereo.wav"
    oggenc -Q -q -1 --serial $((serial++)) -o "$2" "$work/stereo.wav"
}

# A waltz in A minor: one plucked arpeggio per bar over a soft bass, 7.2 s,
# ending where it starts so that it loops.
music() {
    local bars=("A3 C4 E4 A2" "A4 E4 C4 A2" "G3 B3 D4 G2" "G4 D4 B3 G2"
        "F3 A3 C4 F2" "F4 C4 A3 F2" "E3 G#3 B3 E2" "E4 B3 G#3 E2")
    local parts=() bar=0
    for notes in "${bars[@]}"; do
        read -r one two three bass <<<"$notes"
        local beats=()
        for note in "$one" "$two" "$three"; do
            beats+=("$work/beat-$bar-${#beats[@]}.wav")
            sox -R -n -r 44100 -c 1 "${beats[-1]}" synth 0.3 pluck "$note" fade 0 0.3 0.04 \
                vol 0.45
        done
        sox -R "${beats[@]}" "$work/melody-$bar.wav"
        sox -R -n -r 44100 -c 1 "$work/bass-$bar.wav" synth 0.9 sine "$bass" \
            fade 0.05 0.9 0.2 vol 0.3
        parts+=("$work/bar-$bar.wav")
        sox -R -m "$work/melody-$bar.wav" "$work/bass-$bar.wav" "${parts[-1]}"
        bar=$((bar + 1))
    done
    sox -R "${parts[@]}" "$work/tune.wav"
    ogg "$work/tune.wav" data/mfx/ingame.ogg
}

# The voice clips the scenario names, each as its speaker says it.
voices() {
    local mira="en-gb+f3 -p 60" tomas="en-us+m3 -p 35" ilya="ru -p 45"
    local clips=(
        "mira_welcome|$mira|You came on the last ferry? Good. The lamp needs two pairs of hands tonight."
        "tomas_oil|$tomas|I carried fourteen cans of oil up the hill: three lamps, four cans each, and two for luck."
        "ilya_greeting|$ilya|Добрый вечер! Меня зовут Илья. Я привёз письмо для смотрителя."
        "mira_lamp|$mira|Lens clean, wick trimmed, oil in. Hand me the matches, will you?"
        "tomas_pier|$tomas|The old keeper tended that lamp for forty years. Folk called it Lamp number one, all along the coast."
        "ilya_letter|$ilya|Это письмо от моей бабушки. Она зажигала этот маяк сорок лет назад."
    )
    for clip in "${clips[@]}"; do
        IFS='|' read -r name voice text <<<"$clip"
        # shellcheck disable=SC2086  # the voice holds its options
        espeak-ng -v $voice -s 150 -w "$work/voice.wav" "$text"
        ogg "$work/voice.wav" "data/mfx/voc/$name.ogg"
    done
}

scenario() {
    iconv -f UTF-8 -t WINDOWS-1251 source/main.txt >data/scenario/main.txt
}

harbour
lamproom
pier
characters
interface
font
music
voices
scenario
du -sh data
