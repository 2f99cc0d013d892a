#!/usr/bin/env bash
# Completes command lines as bash would on Tab and compares the offers.
#   bash_completion_test.sh PROGRAM COMPLETION_SCRIPT
set -uo pipefail
program=$1
. /usr/share/bash-completion/bash_completion
. "$2"
failures=0

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
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
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
offers "pallqa-tuner --seconds " ""
exit $((failures > 0))
