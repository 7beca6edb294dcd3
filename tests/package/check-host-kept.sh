#!/usr/bin/env bash
# Shows that the install step of the package check leaves a Quillet installed on the system alone.
# Runs in a throw-away root itself (so that this check changes nothing of the system either):
# there Quillet is installed as a user has it, with the service's database where systemd keeps
# it; the install step then runs in a throw-away root of its own from there, as it does from the
# system, and the installation, its registration and its database must be exactly as they were.
#   check-host-kept.sh DEB WORK_FOLDER
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=common.sh
. "$here/common.sh"
deb="$1"
work="$2"
require_throwaway_root

dpkg -i "$deb" >/dev/null || fail "dpkg -i failed"
mkdir -p -m 0700 /var/lib/private/quillet-service
ln -sfn private/quillet-service /var/lib/quillet-service
echo "a user's word banks" >/var/lib/private/quillet-service/banks.db
before="$(quillet_installation && quillet_database)"
grep -q '^quillet install ok installed' <<<"$before" || fail "Quillet did not install: $before"

status=0
"$here/throwaway-root.sh" "$here/check-installed.sh" "$deb" "$work" || status=$?
if [ "$status" -eq 77 ]; then
    echo "no throw-away root inside a throw-away root here: an installed Quillet was not tried"
    exit 77
fi
[ "$status" -eq 0 ] || fail "the install step failed ($status)"
after="$(quillet_installation && quillet_database)"
[ "$before" = "$after" ] ||
    fail "the install step changed the installed Quillet: $(diff <(echo "$before") <(echo "$after"))"
echo "an installed Quillet and its database were left as they were"
