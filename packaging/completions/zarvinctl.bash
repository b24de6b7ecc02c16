# bash completion for zarvinctl: commands, options, key names, remap targets, effect names,
# macro names and backup files. The names come from 'zarvinctl targets ...', which does not
# open the keyboard (macro names are those of the profile cache file).

_zarvinctl_names() {
    local kind=$1
    "${words[0]}" targets "$kind" 2>/dev/null
}

# Adds the lines of standard input that start with the word being completed, in any case (the
# program takes names in any case), to COMPREPLY, each as one word even when it holds blanks.
_zarvinctl_add_lines() {
    local prefix=${1,,} line
    while IFS= read -r line; do
        [[ ${line,,} == "$prefix"* ]] && COMPREPLY+=("$line")
    done
}

_zarvinctl_files() {
    local cur=$1 pattern=${2:-}
    quote=0  # bash quotes file names itself
    compopt -o filenames 2>/dev/null
    if [[ -n $pattern ]]; then
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -d -- "$cur"; compgen -f -X "!$pattern" -- "$cur")
    else
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -- "$cur")
    fi
}

# Bash splits words at '=' and ':' too; FIELD=VALUE, KEY=RRGGBB, KEY:down and macro:NAME are one
# word here. Sets `words` and `cword` to the words joined again, and `strip` to what of the
# current word lies before the part bash replaces.
_zarvinctl_join_words() {
    words=()
    local i piece joining=0
    for ((i = 0; i <= COMP_CWORD; i++)); do
        piece=${COMP_WORDS[i]}
        if ((${#words[@]} > 0)) && [[ $piece == [=:]* || $joining == 1 ]]; then
            words[-1]+=$piece
        else
            words+=("$piece")
        fi
        joining=0
        [[ $piece == *[=:] ]] && joining=1
    done
    cword=$((${#words[@]} - 1))
    local replaced=${COMP_WORDS[COMP_CWORD]}
    strip=${words[cword]:0:${#words[cword]}-${#replaced}}
}

_zarvinctl() {
    local -a words
    local cword strip quote=1
    _zarvinctl_join_words
    local cur=${words[cword]}
    local prev=""
    ((cword > 0)) && prev=${words[cword - 1]}
    COMPREPLY=()

    local commands="list info describe profile monitor sim-reset backup restore show keys remap
        reset lighting macro usermode colours sim targets language help udev-check"
    local options="--simulate --simulate=126 --simulate=128 --trace --json --language
        --profile --mode --all --uhid --help --version"
    local languages="en de fr es pt_BR zh_CN zh_TW ja ru"

    case $prev in
    --profile)
        mapfile -t COMPREPLY < <(compgen -W "1 2 3" -- "$cur")
        return
        ;;
    --mode)
        mapfile -t COMPREPLY < <(compgen -W "0 1 2 3 4 5 6 7 8 9" -- "$cur")
        return
        ;;
    --language)
        mapfile -t COMPREPLY < <(compgen -W "$languages" -- "$cur")
        return
        ;;
    esac

    # The command and its arguments so far, options left out.
    local command="" i word
    local -a args=()
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        case $word in
        --profile | --mode | --language) ((i++)) ;;
        -*) ;;
        *)
            if [[ -z $command ]]; then
                command=$word
            else
                args+=("$word")
            fi
            ;;
        esac
    done

    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return
    fi
    if [[ -z $command ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        return
    fi

    local n=${#args[@]}
    case $command in
    help)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        ;;
    profile)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "1 2 3" -- "$cur")
        ;;
    usermode)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "0 1 2 3 4 5 6 7 8 9" -- "$cur")
        ;;
    targets)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "keys targets effects macros" -- "$cur")
        ;;
    language)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "$languages" -- "$cur")
        ;;
    sim)
        ((n == 0)) && mapfile -t COMPREPLY < <(compgen -W "126 128" -- "$cur")
        ;;
    backup | restore | show)
        ((n == 0)) && _zarvinctl_files "$cur" '*.[fF][wW][cC]'
        ;;
    describe)
        ((n == 0)) && _zarvinctl_files "$cur"
        ;;
    reset)
        ((n == 0)) && _zarvinctl_add_lines "$cur" < <(_zarvinctl_names keys)
        ;;
    remap)
        if ((n == 0)); then
            _zarvinctl_add_lines "$cur" < <(_zarvinctl_names keys)
        elif ((n == 1)); then
            _zarvinctl_add_lines "$cur" < <(_zarvinctl_names targets)
        fi
        ;;
    lighting)
        if ((n == 0)); then
            mapfile -t COMPREPLY < <(compgen -W "set" -- "$cur")
        elif [[ ${args[0]} == set ]]; then
            compopt -o nospace 2>/dev/null
            case $cur in
            effect=*) _zarvinctl_add_lines "$cur" < <(_zarvinctl_names effects | sed 's/^/effect=/') ;;
            brightness=* | speed=*) mapfile -t COMPREPLY < <(compgen -P "${cur%%=*}=" -W "0 1 2 3 4 5" -- "${cur#*=}") ;;
            direction=*) mapfile -t COMPREPLY < <(compgen -P direction= -W "A B" -- "${cur#*=}") ;;
            multicolour=*) mapfile -t COMPREPLY < <(compgen -P multicolour= -W "on off" -- "${cur#*=}") ;;
            option=*) mapfile -t COMPREPLY < <(compgen -P option= -W "red yellow green blue" -- "${cur#*=}") ;;
            rate=*) mapfile -t COMPREPLY < <(compgen -P rate= -W "0 1 2 3" -- "${cur#*=}") ;;
            *=*) ;;
            *) mapfile -t COMPREPLY < <(compgen -W "effect= brightness= speed= direction= colour=
                   multicolour= option= rate=" -- "$cur") ;;
            esac
            # A complete FIELD=VALUE is followed by a blank.
            [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} != *= ]] && compopt +o nospace 2>/dev/null
        fi
        ;;
    macro)
        if ((n == 0)); then
            mapfile -t COMPREPLY < <(compgen -W "list show add delete rename cycles" -- "$cur")
        elif ((n == 1)); then
            case ${args[0]} in
            show | delete | rename | cycles) _zarvinctl_add_lines "$cur" < <(_zarvinctl_names macros) ;;
            esac
        elif [[ ${args[0]} == add ]]; then
            # Actions: KEY, KEY:down, KEY:up, or a delay such as 50ms.
            if [[ $cur == *:* ]]; then
                mapfile -t COMPREPLY < <(compgen -P "${cur%%:*}:" -W "down up" -- "${cur#*:}")
            else
                _zarvinctl_add_lines "$cur" < <(_zarvinctl_names keys)
            fi
        fi
        ;;
    colours)
        # KEY=RRGGBB: the key names, then the colour is typed.
        if [[ $cur != *=* ]]; then
            compopt -o nospace 2>/dev/null
            _zarvinctl_add_lines "$cur" < <(_zarvinctl_names keys | grep -v '=' | sed 's/$/=/'; echo Fn=)
        fi
        ;;
    esac
    # Bash puts each reply in place of its own current word, after any '=' or ':'; names with
    # blanks (macros) stay one word when inserted.
    local k
    for k in "${!COMPREPLY[@]}"; do
        COMPREPLY[k]=${COMPREPLY[k]#"$strip"}
        if ((quote)) && [[ ${COMPREPLY[k]} == *" "* ]]; then
            COMPREPLY[k]=$(printf '%q' "${COMPREPLY[k]}")
        fi
    done
    return 0
}

complete -F _zarvinctl zarvinctl
