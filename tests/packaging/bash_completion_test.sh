#!/usr/bin/env bash
# Completes command lines as bash would on Tab and compares the offers.
#   bash_completion_test.sh PROGRAM COMPLETION_SCRIPT
set -uo pipefail
# One order for the sorted offers.
export LC_ALL=C.UTF-8
. /usr/share/bash-completion/bash_completion
. "$2"
failures=0

# The program on a machine whose sound card has a name with spaces and
# brackets: --list-devices as the program prints it, the rest the program's own.
machine=$(mktemp -d)
trap 'rm -rf "$machine"' EXIT
program=$machine/pallqa-tuner
cat >"$program" <<EOF
#!/usr/bin/env bash
if [ "\$*" = --list-devices ]; then
    printf '%s\n' 'Inputs:' '    HDA Intel PCH: ALC892 Analog (hw:0,0) (ALSA)' '  * default (ALSA), the default' \\
        'Outputs:' '  * default (ALSA), the default' '    pulse (ALSA)'
else
    exec '$1' "\$@"
fi
EOF
chmod +x "$program"

# offers "WORDS OF THE LINE, THE LAST BEING COMPLETED" "EXPECTED OFFERS, SORTED"
offers() {
    local line=$1 expected=$2 got
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$program
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _pallqa_tuner pallqa-tuner "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' ')
    if [ "$got" != "$expected" ]; then
        echo "\"$line\": offered \"$got\", expected \"$expected\"" >&2
        failures=$((failures + 1))
    fi
}

offers "pallqa-tuner --ver" "--verbose --version"
offers "pallqa-tuner --he" "--headless --help"
offers "pallqa-tuner " "analyze chord tone"
offers "pallqa-tuner t" "tone"
offers "pallqa-tuner --verbose c" "chord"
offers "pallqa-tuner --screen t" "tablet:"
offers "pallqa-tuner tone --" "--help --out --seconds"
offers "pallqa-tuner tone A" "A4"
offers "pallqa-tuner tone " "A4 C5 E4 E5 G4"
offers "pallqa-tuner chord --" "--flat --help --json"
offers "pallqa-tuner analyze --" "--course --guide --help --jobs --json --plot"
offers "pallqa-tuner analyze --guide --course " "1 2 3 4 5"
offers "pallqa-tuner --seconds " ""
offers "pallqa-tuner chord --json " "A A#/B♭ B C C#/D♭ D D#/E♭ E F F#/G♭ G G#/A♭"
offers "pallqa-tuner chord G" "G G#/A♭"
offers "pallqa-tuner chord A#/B♭ " "- 7 m m7"
offers "pallqa-tuner chord A -" "- --flat --help --json"
offers "pallqa-tuner chord A m7 " ""
offers "pallqa-tuner tone --seconds 2 " "A4 C5 E4 E5 G4"
offers "pallqa-tuner --input-device " "HDA\ Intel\ PCH:\ ALC892\ Analog\ \(hw:0\,0\) default"
offers "pallqa-tuner --output-device " "default pulse"
offers "pallqa-tuner --headless --output-device p" "pulse"
offers "pallqa-tuner --input-device default " "analyze chord tone"
# The program speaks Spanish to a Spanish user; completion still reads its English.
LC_ALL=es_ES.UTF-8 offers "pallqa-tuner " "analyze chord tone"
LC_ALL=es_ES.UTF-8 offers "pallqa-tuner chord C " "- 7 m m7"
LC_ALL=es_ES.UTF-8 offers "pallqa-tuner tone --" "--help --out --seconds"
exit $((failures > 0))
