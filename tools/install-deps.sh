#!/usr/bin/env bash
# Installs what building and testing Corvane Setup needs: host build, Windows cross build,
# Wine tests under Xvfb, fuzzing with clang. Safe to run again; when everything is in place it
# only asks dpkg and returns. Quiet unless something goes wrong.
#
# 32-bit x86 code: the Windows build is i686, so Wine runs it with its 32-bit loader (wine32).
# Some kernels (VMs without IA-32 emulation) cannot execute 32-bit ELF programs at all. There
# the i386 programs are run through qemu-user: a binfmt_misc handler for i386 ELF files is
# registered with qemu-i386-static. Wine needs qemu 8.1 or newer for that (older releases ignore
# MAP_FIXED_NOREPLACE, and each Wine process then spends ~50 s probing its address space); on
# Debian 12 that release comes from bookworm-backports.
set -euo pipefail

PACKAGES=(
    cmake ninja-build g++ python3
    googletest libgtest-dev libgmock-dev
    clang libclang-rt-14-dev          # clang -fsanitize=fuzzer needs the compiler-rt libraries
    mingw-w64
    wine wine32:i386 wine64           # wine64 brings the native 64-bit wineserver
    xvfb xauth
)
QEMU_PACKAGE=qemu-user-static
QEMU_MIN_VERSION=1:8.1
QEMU_BINARY=/usr/bin/qemu-i386-static
BINFMT_DIR=/proc/sys/fs/binfmt_misc
BINFMT_NAME=qemu-i386
# i386 ELF executables and shared objects (ET_EXEC, ET_DYN), EM_386.
BINFMT_RULE=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$QEMU_BINARY"':F'

NATIVE_ARCH=$(dpkg --print-architecture)
# shellcheck disable=SC1091
CODENAME=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")

# Prints the packages of the given list that are not fully installed.
missing_packages() {
    local -A installed=()
    local pkg abbrev p
    while read -r pkg abbrev; do
        [[ $abbrev == ii ]] || continue
        installed[$pkg]=1
        # Native packages may be printed as name:arch; remember the bare name too.
        [[ $pkg == *:"$NATIVE_ARCH" ]] && installed[${pkg%:*}]=1
    done < <(dpkg-query -W -f='${binary:Package} ${db:Status-Abbrev}\n' "$@" 2>/dev/null || true)
    for p in "$@"; do
        [[ -n ${installed[$p]:-} ]] || printf '%s\n' "$p"
    done
}

needs_i386_arch() {
    [[ $NATIVE_ARCH == i386 ]] && return 1
    ! dpkg --print-foreign-architectures | grep -qx i386
}

# True when a 32-bit x86 ELF program runs here (natively or through a registered handler).
# The probe is a 96-byte static i386 program that exits with status 3.
i386_programs_run() {
    local probe rc
    probe=$(mktemp "${TMPDIR:-/tmp}/i386-probe.XXXXXX") || return 1
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x03\x00\x00\x00\xcd\x80' >"$probe"
    chmod 700 "$probe"
    rc=0
    "$probe" 2>/dev/null || rc=$?
    rm -f "$probe"
    ((rc == 3))
}

qemu_is_recent() {
    local v
    v=$(dpkg-query -W -f='${Version}' "$QEMU_PACKAGE" 2>/dev/null) || return 1
    [[ -n $v ]] && dpkg --compare-versions "$v" ge "$QEMU_MIN_VERSION"
}

# --- fast path ---------------------------------------------------------------------------

mapfile -t MISSING < <(missing_packages "${PACKAGES[@]}")
NEED_QEMU=0
if i386_programs_run; then
    # Already running i386 programs through qemu: make sure it is a usable release.
    if [[ -e $BINFMT_DIR/$BINFMT_NAME ]] && ! qemu_is_recent; then
        NEED_QEMU=1
    fi
else
    NEED_QEMU=1
fi

if ((${#MISSING[@]} == 0 && NEED_QEMU == 0)) && ! needs_i386_arch; then
    exit 0
fi

# --- slow path ---------------------------------------------------------------------------

SUDO=()
if ((EUID != 0)); then
    if command -v sudo >/dev/null 2>&1; then
        SUDO=(sudo)
    else
        echo "install-deps: packages or settings are missing (${MISSING[*]:-qemu-i386 handler}); not root and no sudo" >&2
        exit 1
    fi
fi

LOG=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX")
trap 'rm -f "$LOG"' EXIT

fail() {
    echo "install-deps: $*" >&2
    tail -n 40 "$LOG" >&2
    exit 1
}

# Runs a command with its output kept in $LOG; shows the log and fails if the command fails.
run_quiet() {
    "$@" >>"$LOG" 2>&1 || fail "failed: $*"
}

APT=("${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -q
     -o DPkg::Lock::Timeout=600 -o Dpkg::Use-Pty=0)
UPDATED=0
apt_update() {
    ((UPDATED)) || run_quiet "${APT[@]}" update
    UPDATED=1
}

if needs_i386_arch; then
    run_quiet "${SUDO[@]}" dpkg --add-architecture i386
    UPDATED=0
fi

if ((${#MISSING[@]})); then
    apt_update
    run_quiet "${APT[@]}" install "${MISSING[@]}"
    mapfile -t STILL < <(missing_packages "${PACKAGES[@]}")
    ((${#STILL[@]} == 0)) || fail "still missing after apt-get install: ${STILL[*]}"
fi

if ((NEED_QEMU)); then
    if ! qemu_is_recent; then
        APT_TARGET=()
        if [[ $CODENAME == bookworm ]]; then
            if ! grep -rqs --include='*.list' --include='*.sources' --include=sources.list \
                    'bookworm-backports' /etc/apt/sources.list /etc/apt/sources.list.d/; then
                printf '%s\n' 'Types: deb' 'URIs: http://deb.debian.org/debian' \
                    'Suites: bookworm-backports' 'Components: main' \
                    'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
                    run_quiet "${SUDO[@]}" tee /etc/apt/sources.list.d/bookworm-backports.sources
                UPDATED=0
            fi
            APT_TARGET=(-t bookworm-backports)
        fi
        apt_update
        run_quiet "${APT[@]}" install "${APT_TARGET[@]}" "$QEMU_PACKAGE"
        qemu_is_recent || fail "$QEMU_PACKAGE older than $QEMU_MIN_VERSION after install"
    fi
    [[ -x $QEMU_BINARY ]] || fail "$QEMU_BINARY is missing"

    # (Re-)register the handler. The F flag makes the kernel open the interpreter now, so a
    # registration made before an upgrade keeps running the old binary: always renew it.
    if [[ ! -e $BINFMT_DIR/register ]]; then
        run_quiet "${SUDO[@]}" mount -t binfmt_misc binfmt_misc "$BINFMT_DIR"
    fi
    if [[ -e $BINFMT_DIR/$BINFMT_NAME ]]; then
        echo -1 | run_quiet "${SUDO[@]}" tee "$BINFMT_DIR/$BINFMT_NAME"
    fi
    printf '%s' "$BINFMT_RULE" | run_quiet "${SUDO[@]}" tee "$BINFMT_DIR/register"
    i386_programs_run || fail "32-bit x86 programs still do not run after registering $QEMU_BINARY"
fi
