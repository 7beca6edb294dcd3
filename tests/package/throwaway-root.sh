#!/usr/bin/env bash
# Runs a command in a throw-away copy of this system, so that it may install and purge packages
# without the system ever seeing it:
#   throwaway-root.sh COMMAND [ARG...]
# In a mount namespace of its own, /etc, /usr and /var (with every file system mounted below
# them) become overlays whose changes go to memory and vanish with the namespace: dpkg's database,
# the programs, the service's registration and its state are copies the system never sees. The
# service manager's folder in /run is hidden too, so maintainer scripts act as in a container
# instead of asking the system's systemd to start anything. Everything else (/tmp, the network,
# the processes) is the system's own.
# Exits 77, saying why, when no such copy can be made; otherwise with the command's status.
set -euo pipefail

cannot() {
    echo "no throw-away root: $*" >&2
    exit 77
}

if [ "${1:-}" != --inside ]; then
    [ $# -gt 0 ] || {
        echo "usage: $0 COMMAND [ARG...]" >&2
        exit 2
    }
    [ "$(id -u)" -eq 0 ] || cannot "mounting needs root"
    unshare --mount true 2>/dev/null || cannot "no mount namespace can be made here"
    scratch="$(mktemp -d)"
    status=0
    unshare --mount --propagation private "$0" --inside "$scratch" "$@" || status=$?
    # The memory file system was mounted in the namespace only: the folder is empty here.
    rmdir "$scratch"
    exit "$status"
fi

scratch="$2"
shift 2
mount -t tmpfs -o mode=0700 throwaway "$scratch" || cannot "no memory file system at $scratch"

# The trees the packaging system writes; /bin, /sbin and /lib where they are not links into /usr.
trees=(/etc /usr /var)
for tree in /bin /sbin /lib /lib64; do
    if [ -d "$tree" ] && [ ! -L "$tree" ]; then
        trees+=("$tree")
    fi
done
# Each tree and each mount below it, a parent before what is mounted in it (findmnt escapes
# blanks and the like as \xNN).
targets=()
while IFS= read -r target; do
    targets+=("$target")
done < <({
    printf '%s\n' "${trees[@]}"
    findmnt -rn -o TARGET | while IFS= read -r escaped; do
        printf '%b\n' "$escaped"
    done | while IFS= read -r target; do
        for tree in "${trees[@]}"; do
            if [[ "$target" == "$tree"/* ]]; then
                echo "$target"
            fi
        done
    done
} | LC_ALL=C sort -u)

# Each one as it is, without what is mounted below it, before any overlay hides them.
for i in "${!targets[@]}"; do
    lower="$scratch/lower/$i"
    mkdir -p "$scratch/lower"
    if [ -d "${targets[$i]}" ]; then
        mkdir "$lower"
    else
        : >"$lower"
    fi
    mount --bind "${targets[$i]}" "$lower" || cannot "${targets[$i]} cannot be bound"
done
for i in "${!targets[@]}"; do
    target="${targets[$i]}"
    lower="$scratch/lower/$i"
    if [ -d "$lower" ]; then
        mkdir -p "$scratch/upper/$i" "$scratch/scratchpad/$i"
        mount -t overlay throwaway \
            -o "lowerdir=$lower,upperdir=$scratch/upper/$i,workdir=$scratch/scratchpad/$i" "$target" ||
            cannot "overlayfs refused $target"
    else
        # A file mounted on its own (a container's /etc/hosts): the system's, read-only.
        mount --bind "$lower" "$target"
        mount -o remount,bind,ro "$target"
    fi
done
if [ -d /run/systemd ]; then
    mount -t tmpfs -o mode=0755 throwaway /run/systemd
fi
exec "$@"
