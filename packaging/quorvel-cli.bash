# bash completion for quorvel-cli.
#
# The commands, the options each command's usage line shows and the options that take a value
# are read from the program's own --help, so they follow the version installed. File names are
# offered by the extensions each argument takes, in any case, with folders to go into.

# The file types argument number $2 (from 1) of command $1 takes; "stitch" in $3 when --stitch
# was given. "/" alone: folders only.
_quorvel_cli_types() {
    case $1:$2:$3 in
    convert:*) echo "bmp png" ;;
    pack:1:* | unpack:1:* | list:*) echo spr ;;
    pack:*) echo "bmp png" ;;
    unpack:*) echo / ;;
    background:1: | sheet:1: | background:2:stitch | sheet:2:stitch) echo "bmp png" ;;
    background:* | sheet:*) echo spr ;;
    palette:*) echo "gpl act pal" ;;
    esac
}

# Folders and the files ending in one of the types (lower case in $2...) that start with $1.
_quorvel_cli_files() {
    local cur=$1 name type
    shift
    compopt -o filenames 2>/dev/null || true
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    while IFS= read -r name; do
        [[ -d $name ]] && continue
        for type in "$@"; do
            if [[ $type != / && ${name,,} == *."$type" ]]; then
                COMPREPLY+=("$name")
                break
            fi
        done
    done < <(compgen -f -- "$cur")
}

_quorvel_cli() {
    local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]} line part=''
    local commands=() words=() usage='' valued=" " command=${COMP_WORDS[1]:-}
    while IFS= read -r line; do
        case $line in
        Commands: | Options:) part=$line ;;
        "") part= ;;
        "  "[a-z]*)
            line=${line#  }
            [[ $part == Commands: ]] && commands+=("${line%% *}") && [[ $line == "$command "* ]] &&
                usage=$line
            ;;
        "  --"*)
            # "  --grid CxR   cut ...": a value is an upper-case word after the name.
            read -r -a words <<<"$line"
            [[ ${words[1]} =~ ^[A-Z][A-Za-z]*$ ]] && valued+="${words[0]} "
            ;;
        esac
    done < <("$program" --help 2>/dev/null)

    COMPREPLY=()
    if ((COMP_CWORD == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "${commands[*]} --help --version" -- "$cur")
        return
    fi
    [[ -n $usage ]] || return

    # Walk the words before the cursor: option values, "=" and a lone "--" are not files.
    local i word files=0 stitch='' ended=''
    for ((i = 2; i < COMP_CWORD; i++)); do
        word=${COMP_WORDS[i]}
        if [[ -z $ended && $word == -- ]]; then
            ended=1
        elif [[ -z $ended && $valued == *" $word "* ]]; then
            ((i++)) # its value, after a space or an "=" (a word of its own to bash)
            [[ ${COMP_WORDS[i]-} == = ]] && ((i++))
        elif [[ -z $ended && $word == -?* ]]; then
            [[ $word == --stitch ]] && stitch=stitch
        else
            files=$((files + 1))
        fi
    done
    local prev=${COMP_WORDS[COMP_CWORD - 1]}
    if [[ -z $ended && ($prev == = || $valued == *" $prev "*) ]]; then
        return # a value: nothing to offer
    fi
    if [[ -z $ended && $cur == -* ]]; then
        local options
        options=$(grep -o -e '--[a-z-]*' <<<"$usage" | sort -u)
        mapfile -t COMPREPLY < <(compgen -W "$options --help" -- "$cur")
        return
    fi
    local types=()
    read -r -a types <<<"$(_quorvel_cli_types "$command" $((files + 1)) "$stitch")"
    ((${#types[@]})) && _quorvel_cli_files "$cur" "${types[@]}"
}

complete -F _quorvel_cli quorvel-cli
