#!/usr/bin/env bash
# The shell completions of zarvinctl: the bash one is sourced and asked for completions as bash
# asks (COMP_WORDS and COMP_CWORD in, COMPREPLY out), with the names from the program built here
# and a macro in a private per-user folder; the zsh and fish ones are checked for syntax where
# those shells are installed.
# Usage: zarvinctl_completions.sh PATH_TO_ZARVINCTL COMPLETIONS_FOLDER
set -u
program=$1
folder=$2
failures=0

fail() {
    echo "FAILED $*"
    failures=$((failures + 1))
}

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
mkdir -p "$XDG_RUNTIME_DIR" "$home/files/sub"
chmod 700 "$XDG_RUNTIME_DIR"
touch "$home/files/keys.fwc" "$home/files/Old Keys.FWC" "$home/files/notes.txt"
PATH=$(dirname "$program"):$PATH
"$program" --simulate macro add "My Copy" LeftCtrl:down C LeftCtrl:up >/dev/null ||
    fail "the macro for the completion could not be added"

# complete WORD... : COMPREPLY, one a line, sorted, for the last word as bash splits the line.
complete_words() {
    (
        . "$folder/zarvinctl.bash"
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMPREPLY=()
        _zarvinctl
        printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
    )
}

expect() {
    local expected=$1
    shift
    local got
    got=$(complete_words "$@")
    [[ $got == "$expected" ]] || fail "completing '$*': got [${got//$'\n'/ }], expected [${expected//$'\n'/ }]"
}

registered=$(bash -c ". '$folder/zarvinctl.bash' && complete -p zarvinctl")
[[ $registered == "complete -F _zarvinctl zarvinctl" ]] || fail "complete -p zarvinctl: $registered"

expect $'remap\nreset\nrestore' zarvinctl re
expect $'--profile' zarvinctl --pro
expect $'1\n2\n3' zarvinctl --profile ""
expect $'CapsLock' zarvinctl --profile 2 remap capsl
# Bash splits at '=' and ':'; the replies stand for the part after them.
expect $'Wave\nWaveburst' zarvinctl lighting set effect = wa
expect $'brightness=' zarvinctl lighting set bri
expect $'My\\ Copy' zarvinctl remap F5 macro : ""
expect $'My\\ Copy' zarvinctl macro show my
expect $'down' zarvinctl macro add Paste LeftCtrl : d
expect $'F10=\nF11=\nF12=\nF13=\nF1=' zarvinctl colours F1
expect $'effects\nkeys\nmacros\ntargets' zarvinctl targets ""
expect $'zh_CN\nzh_TW' zarvinctl language zh
expect $'CapsLock' zarvinctl --language ja remap capsl
expect "$home/files/Old Keys.FWC"$'\n'"$home/files/keys.fwc"$'\n'"$home/files/sub" \
    zarvinctl restore "$home/files/"

if command -v zsh >/dev/null; then
    zsh -n "$folder/_zarvinctl" || fail "zsh finds a syntax error in _zarvinctl"
else
    echo "zsh is not installed: its completion is not checked"
fi
if command -v fish >/dev/null; then
    fish -n "$folder/zarvinctl.fish" || fail "fish finds a syntax error in zarvinctl.fish"
    got=$(fish -c "source '$folder/zarvinctl.fish'; complete -C 'zarvinctl remap CapsLock macro:my'")
    [[ $got == "macro:My Copy" ]] || fail "fish completing a macro target: $got"
else
    echo "fish is not installed: its completion is not checked"
fi

echo "zarvinctl completions: $( ((failures)) && echo failed || echo passed)"
exit $((failures > 0))
