#!/usr/bin/env bash
# The end-to-end test on a real Linux kernel: boots Debian 12's cloud kernel in a small virtual
# machine whose initramfs holds busybox, systemd-udevd with Debian's rules, the built zarvinctl
# laid out as the package lays it out with its udev rule, and the uhid test program. Inside, the
# stand-in keyboard is plugged in through /dev/uhid and everything is tried against the real
# hidraw nodes and udev (scripts/vm/checks.sh). Ends with the line "N passed, M failed".
#   scripts/vm-test.sh [BUILD_DIR]     BUILD_DIR holds bin/zarvinctl, bin/zarvin_access_tests and
#                                      bin/zarvin_udevrulegen
# Nothing of the host's own system is changed but the packages installed with apt-get (qemu,
# cpio): the kernel, busybox and udev are fetched with apt-get download into a cache outside
# the clone ($ZARVIN_VM_CACHE, else /var/cache/zarvin-vm for root, else ~/.cache/zarvin-vm) and
# unpacked with dpkg-deb.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

BUILD_DIR=$(cd "${1:-$ROOT/build}" && pwd)
for program in zarvinctl zarvin_access_tests zarvin_udevrulegen; do
    if [ ! -x "$BUILD_DIR/bin/$program" ]; then
        echo "error: $BUILD_DIR/bin/$program is missing: build it first (scripts/test.sh --vm does)" >&2
        exit 1
    fi
done

ensure_packages "${VM_PACKAGES[@]}"

if [ -n "${ZARVIN_VM_CACHE:-}" ]; then
    CACHE=$ZARVIN_VM_CACHE
elif [ "$(id -u)" -eq 0 ]; then
    CACHE=/var/cache/zarvin-vm
else
    CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/zarvin-vm
fi
mkdir -p "$CACHE"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# The .deb of each package, from the cache or fetched into it. The kernel's meta package names
# the current kernel package.
fetched_lists=no
fetch() {
    local package=$1 found
    found=$(ls "$CACHE/${package}"_*.deb 2>/dev/null | head -n 1 || true)
    if [ -z "$found" ]; then
        if ! (cd "$CACHE" && apt-get download -qq "$package" >/dev/null 2>&1); then
            if [ "$fetched_lists" = no ]; then
                apt-get update -qq
                fetched_lists=yes
            fi
            (cd "$CACHE" && apt-get download -qq "$package")
        fi
        found=$(ls "$CACHE/${package}"_*.deb | head -n 1)
    fi
    echo "$found"
}
kernel_package() {
    apt-cache depends linux-image-cloud-amd64 2>/dev/null | awk '/Depends: linux-image-/ { print $2; exit }'
}
KERNEL_PACKAGE=$(kernel_package)
if [ -z "$KERNEL_PACKAGE" ]; then
    apt-get update -qq
    fetched_lists=yes
    KERNEL_PACKAGE=$(kernel_package)
fi
[ -n "$KERNEL_PACKAGE" ] || { echo "error: no linux-image-cloud-amd64 in the package lists" >&2; exit 1; }

UNPACKED=$WORK/unpacked
mkdir -p "$UNPACKED"
# Of the kernel only the kernel itself and the HID modules.
dpkg-deb --fsys-tarfile "$(fetch "$KERNEL_PACKAGE")" | tar -x -C "$UNPACKED" --wildcards \
    './boot/vmlinuz-*' './lib/modules/*/kernel/drivers/hid/hid.ko*' \
    './lib/modules/*/kernel/drivers/hid/uhid.ko*' './lib/modules/*/kernel/drivers/hid/hid-generic.ko*'
for package in busybox-static udev; do
    dpkg-deb -x "$(fetch "$package")" "$UNPACKED"
done
# systemd only for its seat rules.
dpkg-deb -x "$(fetch systemd)" "$WORK/systemd"
KERNEL=$(ls "$UNPACKED"/boot/vmlinuz-* | head -n 1)
MODULES=$(ls -d "$UNPACKED"/lib/modules/* | head -n 1)

# The initramfs: one folder laid out as the machine's root.
INITRD_ROOT=$WORK/root
mkdir -p "$INITRD_ROOT"/{bin,sbin,etc,proc,sys,dev,run,tmp,modules,opt/tests,usr/bin,usr/lib/zarvin}
# The rule goes where this build installs it, which the uhid tests look at too.
RULES_DIR=$(sed -n 's/^ZARVIN_UDEV_RULES_DIR:[A-Z]*=//p' "$BUILD_DIR/CMakeCache.txt")
RULES_DIR=${RULES_DIR:-/usr/lib/udev/rules.d}
mkdir -p "$INITRD_ROOT$RULES_DIR" "$INITRD_ROOT"/lib/udev/rules.d "$INITRD_ROOT"/lib/systemd
cp "$UNPACKED/bin/busybox" "$INITRD_ROOT/bin/busybox"
for module in hid uhid hid-generic; do
    source_module=$(find "$MODULES/kernel/drivers/hid" -maxdepth 1 -name "$module.ko*" | head -n 1)
    case "$source_module" in
    *.xz) xz -dc "$source_module" >"$INITRD_ROOT/modules/$module.ko" ;;
    *.zst) zstd -qdc "$source_module" >"$INITRD_ROOT/modules/$module.ko" ;;
    *) cp "$source_module" "$INITRD_ROOT/modules/$module.ko" ;;
    esac
done

# udev: the daemon, udevadm, Debian's rules and the seat rules that act on the uaccess tag.
cp "$UNPACKED/bin/udevadm" "$INITRD_ROOT/bin/udevadm"
ln -s /bin/udevadm "$INITRD_ROOT/lib/systemd/systemd-udevd"
cp "$UNPACKED"/lib/udev/rules.d/*.rules "$INITRD_ROOT/lib/udev/rules.d/"
for rule in 71-seat.rules 73-seat-late.rules; do
    cp "$(find "$WORK/systemd" -path "*/udev/rules.d/$rule" | head -n 1)" "$INITRD_ROOT/lib/udev/rules.d/"
done

# zarvinctl as the package lays it out, and its rule filled as the package fills it.
strip --strip-debug -o "$INITRD_ROOT/usr/lib/zarvin/zarvinctl" "$BUILD_DIR/bin/zarvinctl"
cp "$BUILD_DIR"/bin/Lang*.ini "$INITRD_ROOT/usr/lib/zarvin/"
ln -s ../lib/zarvin/zarvinctl "$INITRD_ROOT/usr/bin/zarvinctl"
"$BUILD_DIR/bin/zarvin_udevrulegen" "$ROOT/packaging/70-zarvin.rules.in" \
    "$INITRD_ROOT$RULES_DIR/70-zarvin.rules" /usr/bin/zarvinctl
strip --strip-debug -o "$INITRD_ROOT/opt/tests/zarvin_access_tests" "$BUILD_DIR/bin/zarvin_access_tests"

# The shared libraries of every program, from the host at the same paths (the host is the
# Debian release whose kernel boots).
for program in "$INITRD_ROOT/bin/udevadm" "$INITRD_ROOT/usr/lib/zarvin/zarvinctl" \
    "$INITRD_ROOT/opt/tests/zarvin_access_tests"; do
    if ldd "$program" | grep -q "not found"; then
        echo "error: libraries of $program are missing on this machine:" >&2
        ldd "$program" | grep "not found" >&2
        exit 1
    fi
    for library in $(ldd "$program" | grep -o '/[^ ]*'); do
        mkdir -p "$INITRD_ROOT$(dirname "$library")"
        [ -e "$INITRD_ROOT$library" ] || cp -L "$library" "$INITRD_ROOT$library"
    done
done

cat >"$INITRD_ROOT/etc/passwd" <<'EOF'
root:x:0:0:root:/root:/bin/sh
EOF
cat >"$INITRD_ROOT/etc/group" <<'EOF'
root:x:0:
tty:x:5:
disk:x:6:
kmem:x:15:
dialout:x:20:
cdrom:x:24:
audio:x:29:
video:x:44:
plugdev:x:46:
input:x:105:
kvm:x:106:
render:x:107:
sgx:x:108:
EOF
cp "$ROOT/scripts/vm/init" "$INITRD_ROOT/init"
cp "$ROOT/scripts/vm/checks.sh" "$INITRD_ROOT/checks.sh"
chmod 755 "$INITRD_ROOT/init" "$INITRD_ROOT/checks.sh"

INITRD=$WORK/initrd.cpio.gz
(cd "$INITRD_ROOT" && find . | cpio -o -H newc --quiet | gzip -1) >"$INITRD"

# Hardware virtualisation only where the host has it; a /dev/kvm without kvm_intel or kvm_amd
# boots a stock kernel far slower than software emulation.
ACCEL=(-accel tcg)
if [ -w /dev/kvm ] && { [ -d /sys/module/kvm_intel ] || [ -d /sys/module/kvm_amd ]; }; then
    ACCEL=(-accel kvm -cpu host)
fi

# An emulated timer on a busy host can look broken to the kernel's IO-APIC check, which then
# panics at boot: no_timer_check skips that check.
LOG=$WORK/console.log
echo "Booting $(basename "$KERNEL") (${ACCEL[*]})" >&2
status=0
timeout 900 qemu-system-x86_64 "${ACCEL[@]}" -m 1024 -smp 1 -display none -monitor none \
    -serial file:"$LOG" -no-reboot -kernel "$KERNEL" -initrd "$INITRD" \
    -append "console=ttyS0 rdinit=/init panic=-1 no_timer_check quiet loglevel=3" </dev/null || status=$?
SUMMARY='^[0-9]+ passed, [0-9]+ failed$'
# The checks' lines, without the kernel's own.
tr -d '\r' <"$LOG" | sed -n '/^vm-checks: start$/,$p' | grep -v '^vm-checks: start$' |
    grep -Ev "$SUMMARY|^\[ *[0-9]+\.[0-9]+\] " || true
summary=$(tr -d '\r' <"$LOG" | grep -E "$SUMMARY" | tail -n 1 || true)
# Counts are "N passed, M failed"; a run that did not finish counts as one more failure.
passed=0
failed=0
if [ -n "$summary" ]; then
    read -r passed failed <<<"$(echo "$summary" | sed 's/ passed, / /; s/ failed//')"
fi
if [ "$status" -ne 0 ] || [ -z "$summary" ]; then
    echo "the virtual machine did not finish its checks (qemu status $status); its console ends:"
    tr -d '\r' <"$LOG" | tail -n 40
    failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
