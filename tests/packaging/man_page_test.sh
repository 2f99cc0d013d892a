#!/usr/bin/env bash
# The manual page names every option and command the program's --help lists,
# and the program's version, in UTF-8; the page in the language of the
# environment, which the program's --help speaks too.
#   man_page_test.sh PROGRAM MAN_PAGE [HEADING...]
# The HEADINGs are lines the page must hold besides (help2man's, in its language).
set -euo pipefail
program=$1 page=$2
shift 2
failures=0
expect() {
    # help2man writes a dash as "\-".
    if ! grep -qF -- "${1//-/\\-}" "$page"; then
        echo "the manual page lacks \"$1\"" >&2
        failures=$((failures + 1))
    fi
}
grep -q '^\.TH PALLQA-TUNER "1"' "$page" || { echo "not a section 1 manual page" >&2; failures=$((failures + 1)); }
# help2man wrote the page under a UTF-8 locale, or the flat sign is lost.
expect "A#/B♭"
for heading in "$@"; do
    grep -qxF -- "$heading" "$page" || { echo "the manual page lacks the line \"$heading\"" >&2; failures=$((failures + 1)); }
done
expect "$("$program" --version | head -n1 | awk '{print $NF}')"
section=
while IFS= read -r line; do
    case $line in
        Options:* | Opciones:*) section=options ;;
        Commands:* | Subcommands:* | Comandos:*) section=commands ;;
        [![:space:]]*) section= ;;
        *)
            read -r word _ <<<"$line"
            case $section in
                options) expect "${word#*,}" ;;
                commands) expect "$word" ;;
            esac
            ;;
    esac
done < <("$program" --help)
exit $((failures > 0))
