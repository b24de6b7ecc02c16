#!/bin/sh
# The checks inside the virtual machine (busybox sh), one line each: "ok - what" or
# "FAIL - what" with the output that explains it. Ends with "N passed, M failed".

passed=0
failed=0
pass() {
    passed=$((passed + 1))
    echo "ok - $1"
}
fail() {
    failed=$((failed + 1))
    echo "FAIL - $1"
    [ -n "$2" ] && echo "$2" | tail -n 30 | sed 's/^/    /'
}
# check WHAT COMMAND...: passes when COMMAND succeeds; its output explains a failure.
check() {
    what=$1
    shift
    if output=$("$@" 2>&1); then pass "$what"; else fail "$what" "$output"; fi
}

export HOME=/tmp/home XDG_DATA_HOME=/tmp/home/data XDG_CONFIG_HOME=/tmp/home/config
export XDG_RUNTIME_DIR=/tmp/home/run
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
cd /tmp/home

check "the HID modules are loaded: /dev/uhid is there" test -c /dev/uhid
check "systemd-udevd runs" test -S /run/udev/control

# The uhid test programs run here, and none of them may skip.
output=$(/opt/tests/zarvin_access_tests --gtest_filter='Uhid*' 2>&1)
status=$?
if [ $status -eq 0 ] && ! echo "$output" | grep -q "SKIPPED" &&
    echo "$output" | grep -q "PASSED"; then
    pass "the uhid tests pass and none skips ($(echo "$output" | grep -o '[0-9]* tests\? from [0-9]* test suites\? ran' | head -n 1))"
else
    fail "the uhid tests pass and none skips" "$output"
fi

simpid=
# Plugs the stand-in in through uhid and waits until zarvinctl reaches it and udev is done.
plug() {
    zarvinctl sim --uhid "$1" >/tmp/sim.out 2>&1 &
    simpid=$!
    tries=0
    until zarvinctl info >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && break
        sleep 0.1
    done
    # The node answers before udev has handled it, and settle only waits for the events udev
    # has already taken in: wait for each node to be initialised.
    for node in $(stand_in_nodes); do
        udevadm wait --timeout=30 "/dev/$node" || true
    done
    udevadm settle --timeout=30
}
# Unplugs it with `signal` and tells whether it ended with status 0.
unplug() {
    kill -"$1" "$simpid"
    wait "$simpid"
}
# The hidraw nodes of the stand-in.
stand_in_nodes() {
    for node in /sys/class/hidraw/*; do
        grep -q "^HID_NAME=Zarvin stand-in keyboard$" "$node/device/uevent" && echo "${node##*/}"
    done
}
# Each node's ZARVIN_INTERFACE and whether it carries the uaccess tag.
node_roles() {
    for node in $(stand_in_nodes); do
        properties=$(udevadm info -q property -n "/dev/$node")
        role=$(echo "$properties" | sed -n 's/^ZARVIN_INTERFACE=//p')
        if echo "$properties" | grep -q '^TAGS=.*:uaccess:'; then
            echo "$role+uaccess"
        else
            echo "$role"
        fi
    done | sort | tr '\n' ' '
}
wait_for_end() {  # pid seconds: true when the process ended within the time
    tenths=0
    while kill -0 "$1" 2>/dev/null; do
        tenths=$((tenths + 1))
        [ $tenths -gt $(($2 * 10)) ] && return 1
        sleep 0.1
    done
    return 0
}

for model in 126 128; do
    case $model in
    126) ids=0c45:5004 ;;
    128) ids=320f:5000 ;;
    esac
    plug $model
    check "$model keys: info reaches the keyboard on its hidraw node" \
        sh -c "zarvinctl info | grep -q '^keyboard: $ids, $model keys$'"
    roles=$(node_roles)
    if [ "$roles" = "command+uaccess consumer+uaccess " ]; then
        pass "$model keys: udev marks the command and consumer nodes and tags both uaccess"
    else
        fail "$model keys: udev marks the command and consumer nodes and tags both uaccess" \
            "roles: $roles$(cat /tmp/udevd.log)"
    fi

    check "$model keys: profile 3 becomes active" \
        sh -c 'zarvinctl profile 3 && [ "$(zarvinctl profile)" = 3 ]'
    check "$model keys: remap, keys, reset" sh -c '
        zarvinctl remap --profile 1 CapsLock LeftCtrl >/dev/null &&
        zarvinctl keys --profile 1 | grep -q "Caps Lock → Key (Left Ctrl)" &&
        zarvinctl reset --profile 1 CapsLock >/dev/null &&
        ! zarvinctl keys --profile 1 | grep -q "Caps Lock"'
    check "$model keys: backup, show, restore" sh -c '
        zarvinctl remap --profile 2 F1 Mute >/dev/null &&
        zarvinctl backup /tmp/b.fwc >/dev/null &&
        zarvinctl show /tmp/b.fwc | grep -q "F1 → Media (Mute)" &&
        zarvinctl reset --profile 2 F1 >/dev/null &&
        zarvinctl restore /tmp/b.fwc >/dev/null &&
        zarvinctl keys --profile 2 | grep -q "F1 → Media (Mute)"'
    check "$model keys: lighting read and written" sh -c '
        zarvinctl lighting set brightness=3 >/dev/null &&
        zarvinctl lighting | grep -q "brightness   3"'

    # Two programs on one keyboard: each backup is the one made alone, or fails with a message.
    zarvinctl backup /tmp/alone.fwc >/dev/null
    problems=
    for round in 1 2 3; do
        zarvinctl backup /tmp/first.fwc >/dev/null 2>/tmp/first.err &
        first=$!
        zarvinctl backup /tmp/second.fwc >/dev/null 2>/tmp/second.err &
        second=$!
        wait $first
        first_status=$?
        wait $second
        second_status=$?
        for run in first second; do
            eval "run_status=\$${run}_status"
            if [ "$run_status" -eq 0 ]; then
                cmp -s /tmp/$run.fwc /tmp/alone.fwc || problems="$problems round $round: the $run backup differs;"
            elif [ ! -s /tmp/$run.err ]; then
                problems="$problems round $round: the $run backup failed without a word;"
            fi
            rm -f /tmp/$run.fwc
        done
        [ "$first_status" -ne 0 ] && [ "$second_status" -ne 0 ] && problems="$problems round $round: both failed;"
    done
    if [ -z "$problems" ]; then
        pass "$model keys: two backups at once each match a backup made alone"
    else
        fail "$model keys: two backups at once each match a backup made alone" \
            "$problems $(cat /tmp/first.err /tmp/second.err)"
    fi

    # Remaps beside a loop of reads change exactly the keys remapped.
    zarvinctl keys --profile 1 >/tmp/keys-before
    (
        count=0
        while [ $count -lt 15 ]; do
            zarvinctl keys --profile 1 >/dev/null 2>&1
            count=$((count + 1))
        done
    ) &
    reader=$!
    remapped=0
    for key in F2 F3 F4 F5 F6; do
        zarvinctl remap --profile 1 $key Mute >/dev/null 2>&1 && remapped=$((remapped + 1))
    done
    wait $reader
    zarvinctl keys --profile 1 >/tmp/keys-after
    added=$(diff /tmp/keys-before /tmp/keys-after | grep -c '^+ *F[2-6] → Media (Mute)$')
    removed=$(diff /tmp/keys-before /tmp/keys-after | grep '^-[^-]' | grep -vc '^-  no reassigned keys$')
    if [ "$remapped" -eq 5 ] && [ "$added" -eq 5 ] && [ "$removed" -eq 0 ]; then
        pass "$model keys: five remaps beside a loop of reads change exactly those keys"
    else
        fail "$model keys: five remaps beside a loop of reads change exactly those keys" \
            "remapped $remapped, added $added, removed $removed: $(diff /tmp/keys-before /tmp/keys-after)"
    fi

    # Unplugged while a backup waits for the keyboard's reply: the backup fails with a message
    # and writes no file, and the stand-in ends with status 0 and keeps its memory. The stand-in
    # is stopped before the backup starts and unplugged once the backup's first request has gone
    # out, so the backup can never run to its end first (it takes a few milliseconds here).
    zarvinctl backup /tmp/whole.fwc >/dev/null
    rm -f /tmp/cut.fwc /tmp/cut.status /tmp/cut.trace
    kill -STOP "$simpid"
    (
        zarvinctl --trace backup /tmp/cut.fwc >/dev/null 2>/tmp/cut.trace
        echo $? >/tmp/cut.status
    ) &
    tries=0
    while [ "$(grep -c '^>' /tmp/cut.trace 2>/dev/null)" -lt 1 ] && [ $tries -lt 10000 ]; do
        tries=$((tries + 1))
        usleep 1000
    done
    kill -TERM "$simpid"
    kill -CONT "$simpid"
    wait "$simpid"
    check "$model keys: the stand-in ends with status 0 on SIGTERM" test $? -eq 0
    tries=0
    while [ ! -s /tmp/cut.status ] && [ $tries -lt 200 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
    backup_status=$(cat /tmp/cut.status 2>/dev/null || echo hung)
    message=$(grep -v '^[<>]' /tmp/cut.trace)
    if [ "$backup_status" = 1 ] && [ -n "$message" ] && [ ! -e /tmp/cut.fwc ]; then
        pass "$model keys: a backup cut off by the unplug fails with a message and writes nothing ($message)"
    else
        fail "$model keys: a backup cut off by the unplug fails with a message and writes nothing" \
            "status $backup_status, $(grep -c '^>' /tmp/cut.trace) requests sent: $message
$(tail -n 5 /tmp/cut.trace)"
    fi
    plug $model
    check "$model keys: plugged in again, it kept its memory" \
        sh -c '[ "$(zarvinctl profile)" = 3 ] && zarvinctl backup /tmp/again.fwc >/dev/null &&
               cmp /tmp/again.fwc /tmp/whole.fwc'
    unplug INT
    check "$model keys: the stand-in ends with status 0 on SIGINT" test $? -eq 0
done

# Without logind: the rule's group line gives plugdev the two interfaces instead.
mkdir -p /etc/udev/rules.d
rule=$(ls /usr/lib/udev/rules.d/70-zarvin.rules /lib/udev/rules.d/70-zarvin.rules 2>/dev/null | head -n 1)
sed 's/^# \(ENV{ZARVIN_INTERFACE}=="command|consumer", GROUP="plugdev", MODE="0660"\)$/\1/' \
    "$rule" >/etc/udev/rules.d/70-zarvin.rules
udevadm control --reload
plug 126
modes=$(for node in $(stand_in_nodes); do stat -c '%G %a' /dev/$node; done | sort -u | tr '\n' ' ')
if grep -q '^ENV{ZARVIN_INTERFACE}=="command|consumer", GROUP="plugdev"' /etc/udev/rules.d/70-zarvin.rules &&
    [ "$modes" = "plugdev 660 " ]; then
    pass "the plugdev variant of the rule gives the group both interfaces"
else
    fail "the plugdev variant of the rule gives the group both interfaces" "modes: $modes"
fi
unplug TERM

echo "$passed passed, $failed failed"
