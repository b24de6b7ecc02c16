# fish completion for zarvinctl: commands, options, key names, remap targets, effect names,
# macro names and backup files. The names come from 'zarvinctl targets ...', which does not
# open the keyboard (macro names are those of the profile cache file).

function __zarvinctl_names --argument-names kind
    set -l program (commandline -opc)[1]
    $program targets $kind 2>/dev/null
end

# The command and its arguments typed so far, options left out.
function __zarvinctl_words
    set -l skip 0
    for word in (commandline -opc)[2..-1]
        if test $skip = 1
            set skip 0
            continue
        end
        switch $word
            case --profile --mode --language
                set skip 1
            case '-*'
            case '*'
                echo $word
        end
    end
end

function __zarvinctl_needs_command
    test (count (__zarvinctl_words)) -eq 0
end

# True when the command is $command and $count of its arguments are typed already (any number
# without $count); with $first, the first argument must be that word.
function __zarvinctl_at --argument-names command count first
    set -l words (__zarvinctl_words)
    test (count $words) -ge 1; and test $words[1] = $command; or return 1
    if test -n "$count"
        test (math (count $words) - 1) -eq $count; or return 1
    end
    if test -n "$first"
        test (count $words) -ge 2; and test $words[2] = $first; or return 1
    end
end

function __zarvinctl_lighting_fields
    set -l token (commandline -ct)
    switch $token
        case 'effect=*'
            printf 'effect=%s\n' (__zarvinctl_names effects)
        case 'brightness=*' 'speed=*'
            set -l field (string split -m1 = -- $token)[1]
            printf "$field=%s\n" 0 1 2 3 4 5
        case 'direction=*'
            printf 'direction=%s\n' A B
        case 'multicolour=*'
            printf 'multicolour=%s\n' on off
        case 'option=*'
            printf 'option=%s\n' red yellow green blue
        case 'rate=*'
            printf 'rate=%s\n' 0 1 2 3
        case '*=*'
        case '*'
            printf '%s\n' effect= brightness= speed= direction= colour= multicolour= option= rate=
    end
end

function __zarvinctl_macro_actions
    set -l token (commandline -ct)
    if string match -q '*:*' -- $token
        set -l key (string split -m1 : -- $token)[1]
        printf "$key:%s\n" down up
    else
        __zarvinctl_names keys
    end
end

complete -c zarvinctl -f

complete -c zarvinctl -l simulate -d 'use the stand-in keyboard (=126 or =128)'
complete -c zarvinctl -l trace -d 'print every report sent and received'
complete -c zarvinctl -l json -d 'print the result as JSON'
complete -c zarvinctl -l language -x -a 'en de fr es pt_BR zh_CN zh_TW ja ru' -d 'names and messages in this language'
complete -c zarvinctl -l profile -x -a '1 2 3' -d 'the profile to work on'
complete -c zarvinctl -l mode -x -a '0 1 2 3 4 5 6 7 8 9' -d 'with colours: the user mode'
complete -c zarvinctl -l all -d 'with keys: every key; with colours: every key one colour'
complete -c zarvinctl -l uhid -d 'with sim: through /dev/uhid'
complete -c zarvinctl -l help -d 'show the help'
complete -c zarvinctl -l version -d 'show the version'

function __zarvinctl_commands
    printf '%s\t%s\n' \
        list 'supported keyboards and their interfaces' \
        info 'model, firmware version, active profile, effects' \
        describe 'the parsed report descriptor of a hidraw node or a file' \
        profile 'print the active profile, or make profile N active' \
        monitor 'print the arrivals, departures and notices of the keyboard' \
        sim-reset 'restore the factory state of the stand-in keyboard' \
        backup 'save the key assignments and macros in a backup file' \
        restore 'write a backup file to the keyboard' \
        show 'print a backup file' \
        keys 'print the reassigned keys of one profile' \
        remap 'give a key a new function' \
        reset 'give a key back its own function' \
        lighting 'print or set the lighting of one profile' \
        macro 'list, show, add, delete, rename macros or set their cycles' \
        usermode 'load a user lighting mode and send its key colours' \
        colours 'print or paint the key colours of a user lighting mode' \
        sim 'plug the stand-in keyboard in through /dev/uhid' \
        targets 'every key name and remap target' \
        language 'list the languages, or keep one' \
        help 'the usage, or what a command does' \
        udev-check 'for the udev rule: which interface a hidraw node is'
end

# Folders and backup files (.fwc) that start with the word being completed.
function __zarvinctl_backup_files
    set -l token (commandline -ct)
    for path in $token*
        if test -d $path
            echo $path/
        else if string match -qi '*.fwc' -- $path
            echo $path
        end
    end
end

complete -c zarvinctl -n __zarvinctl_needs_command -a '(__zarvinctl_commands)'
complete -c zarvinctl -n '__zarvinctl_at help 0' -a '(__zarvinctl_commands)'

complete -c zarvinctl -n '__zarvinctl_at profile 0' -a '1 2 3'
complete -c zarvinctl -n '__zarvinctl_at usermode 0' -a '0 1 2 3 4 5 6 7 8 9'
complete -c zarvinctl -n '__zarvinctl_at targets 0' -a 'keys targets effects macros'
complete -c zarvinctl -n '__zarvinctl_at language 0' -a 'en de fr es pt_BR zh_CN zh_TW ja ru'
complete -c zarvinctl -n '__zarvinctl_at sim 0' -a '126 128'
for command in backup restore show
    complete -c zarvinctl -n "__zarvinctl_at $command 0" -a '(__zarvinctl_backup_files)'
end
complete -c zarvinctl -n '__zarvinctl_at describe 0' -F
complete -c zarvinctl -n '__zarvinctl_at reset 0' -a '(__zarvinctl_names keys)'
complete -c zarvinctl -n '__zarvinctl_at remap 0' -a '(__zarvinctl_names keys)'
complete -c zarvinctl -n '__zarvinctl_at remap 1' -a '(__zarvinctl_names targets)'
complete -c zarvinctl -n '__zarvinctl_at lighting 0' -a set
complete -c zarvinctl -n '__zarvinctl_at lighting "" set' -a '(__zarvinctl_lighting_fields)'
complete -c zarvinctl -n '__zarvinctl_at macro 0' -a 'list show add delete rename cycles'
for action in show delete rename cycles
    complete -c zarvinctl -n "__zarvinctl_at macro 1 $action" -a '(__zarvinctl_names macros)'
end
complete -c zarvinctl -n '__zarvinctl_at macro "" add; and test (count (__zarvinctl_words)) -ge 3' \
    -a '(__zarvinctl_macro_actions)'
complete -c zarvinctl -n '__zarvinctl_at colours; and not string match -q "*=*" -- (commandline -ct)' \
    -a '(__zarvinctl_names keys | string match -v "*=*" | string replace -r "\$" "="; echo Fn=)'
