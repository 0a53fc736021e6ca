#!/usr/bin/env bash
# quorvel-cli's bash completion with the built program: commands and options as its --help
# gives them, and file names by the types each argument takes.
#   completion_test.sh CLI COMPLETION_SCRIPT
set -uo pipefail
export LC_ALL=C
cli=$1
# shellcheck source=/dev/null
source "$2"
cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
mkdir folder
touch a.spr B.SPR c.png D.BMP e.gpl f.ACT g.pal h.json i.txt

# The completions, sorted, of the last of the words given after quorvel-cli.
complete_last() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    _quorvel_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

# Words typed (a trailing space starts an empty one) | what completes the last.
rows=(
    "pa|pack palette"
    "sheet --st|--stitch"
    "unpack -|--help --png"
    "pack |B.SPR a.spr folder"
    "convert x.bmp |D.BMP c.png folder"
    "pack out.spr a.png |D.BMP c.png folder"
    "unpack a.spr |folder"
    "background x.png |B.SPR a.spr folder"
    "background --stitch a.spr |D.BMP c.png folder"
    "sheet --cell 8x8 --border = 1 |D.BMP c.png folder"
    "sheet --grid |"
    "sheet -- --key |B.SPR a.spr folder"
    "palette |e.gpl f.ACT folder g.pal"
)
failed=0
for row in "${rows[@]}"; do
    typed=${row%%|*}
    read -r -a words <<<"$typed"
    [[ $typed == *" " ]] && words+=("")
    got=$(complete_last "${words[@]}")
    if [[ $got != "${row#*|}" ]]; then
        echo "quorvel-cli $typed<Tab>: got '$got', want '${row#*|}'"
        failed=1
    fi
done
# Every command of --help is offered and has its file types.
for command in $("$cli" --help | awk '/^Commands:$/ { on = 1; next } /^$/ { on = 0 }
                                      on && /^  [a-z]/ { print $1 }'); do
    [[ " $(complete_last "") " == *" $command "* && -n $(_quorvel_cli_types "$command" 1 "") ]] ||
        { echo "command '$command' is not completed, or its files are not" && failed=1; }
done
exit $failed
