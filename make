#!/bin/sh
# make, for a Debian machine that may not have it yet: ./make test is make test, run
# from the top of the tree after making sure the Debian packages are there.
#
#   ./make [TARGET...]          as root: installs make when it is missing, then runs make,
#                               whose steps install the packages each of them needs
#                               as another user: when any package that some target needs
#                               is missing, prints the one line that installs them all
#                               (sudo for a member of the sudo group, else su -c) and stops;
#                               otherwise runs make
#   ./make --need PACKAGE...    what the Makefile runs before a step: installs the missing
#                               ones as root, or prints that line and fails
#   ./make --packages           every Debian package some target needs, one a line
#
# It needs only what every Debian system has (sh, sed, grep, dpkg, apt-get), and reads
# the packages from the Makefile's lists named PACKAGES and *_PACKAGES.
set -eu
cd "$(dirname "$0")"

# The Makefile's package lists (continued lines joined), and make itself.
every_package() {
    lists=$(sed -e ':join' -e '/\\$/{N;s/\\\n/ /;b join' -e '}' Makefile |
        sed -n 's/^\(PACKAGES\|[A-Z0-9_]*_PACKAGES\)[[:space:]]*[:+?]*=//p')
    case $lists in
    *'$'*)
        echo "./make: a package list in the Makefile refers to a variable; write the packages out" >&2
        exit 2
        ;;
    esac
    printf '%s\n' make $lists | LC_ALL=C sort -u
}

# The given packages that are not installed, one a line.
missing_of() {
    installed=$(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "$@" 2>/dev/null |
        sed -n 's/^installed //p') || true
    for package; do
        printf '%s\n' "$installed" | grep -Fqx "$package" || echo "$package"
    done
}

install_as_root() {
    echo "Installing the missing Debian packages:" "$@"
    apt-get -o DPkg::Lock::Timeout=600 update
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends "$@"
}

# The line that installs every missing package of every target (and those given), for
# a user who is not root: sudo where this user is in a group that Debian's sudo lets in,
# su -c otherwise.
ask_for_all() {
    packages=$(every_package)
    all=$(missing_of $packages "$@" | LC_ALL=C sort -u | tr '\n' ' ')
    apt="apt-get install -y --no-install-recommends ${all% }"
    echo "Quillbarrow needs Debian packages that are not installed. This line installs them as root," \
        "with all that the other make targets need; then run the same command again:"
    if command -v sudo >/dev/null && id -nG | tr ' ' '\n' | grep -Eqx 'sudo|admin|wheel'; then
        echo "  sudo apt-get update && sudo $apt"
    else
        echo "  su -c 'apt-get update && $apt'"
    fi
}

case ${1:-} in
--packages)
    every_package
    ;;
--need)
    shift
    missing=$(missing_of "$@")
    [ -z "$missing" ] && exit 0
    if [ "$(id -u)" = 0 ]; then
        install_as_root $missing
    else
        ask_for_all "$@"
        exit 1
    fi
    ;;
*)
    if [ "$(id -u)" = 0 ]; then
        command -v make >/dev/null || install_as_root make
    else
        packages=$(every_package)
        if [ -n "$(missing_of $packages)" ]; then
            ask_for_all
            exit 1
        fi
    fi
    exec make "$@"
    ;;
esac
