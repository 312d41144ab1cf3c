#!/bin/sh
# Makes a private arm64 root from one Debian release's arm64 packages, fetched with
# apt-get download and unpacked with dpkg -x: the -dev packages named on the command
# line alone (headers and link libraries), every other package named with all it needs
# to run. Only arm64 builds are taken; packages of data alike on every machine
# (soundfonts, say) are left out. Nothing on this machine changes: apt keeps the
# release's package lists and the downloaded packages in APTDIR, with a sources list of
# its own, and no package is installed. Several roots can share one APTDIR (the build's
# sysroot and the firmware of the handheld test), so a package is fetched only once.
# ROOT is made afresh; ROOT.packages says what it was made from, once it is complete.
#
#     tools/arm64/sysroot.sh RELEASE APTDIR ROOT PACKAGE...     (RELEASE: bullseye, ...)
set -e
release=$1
rm -rf "$3" "$3.packages"
mkdir -p "$2" "$3"
apt=$(readlink -f "$2")
root=$(readlink -f "$3")
shift 3
mkdir -p "$apt/lists/partial" "$apt/archives/partial"
: > "$apt/status"
cat > "$apt/sources.list" <<SOURCES
deb http://deb.debian.org/debian $release main
SOURCES
cat > "$apt/apt.conf" <<CONF
APT::Architecture "arm64";
APT::Architectures { "arm64"; };
Dir::Etc::SourceList "$apt/sources.list";
Dir::Etc::SourceParts "/nonexistent";
Dir::State "$apt";
Dir::State::Lists "$apt/lists";
Dir::State::status "$apt/status";
Dir::Cache "$apt";
Dir::Cache::archives "$apt/archives";
APT::Sandbox::User "root";
Debug::NoLocking "true";
CONF
export APT_CONFIG="$apt/apt.conf"
[ -f "$apt/updated" ] || { apt-get -qq update && : > "$apt/updated"; }
libraries=$(printf '%s\n' "$@" | grep -v -- '-dev$' || true)
headers=$(printf '%s\n' "$@" | grep -- '-dev$' || true)
# shellcheck disable=SC2086  # one word a package
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
    --no-replaces --no-enhances $libraries | grep '^[a-z0-9]' | sort -u)
# shellcheck disable=SC2086
wanted=$(apt-cache show --no-all-versions $closure $headers 2>/dev/null |
    awk '/^Package:/ { name = $2 } /^Architecture: arm64/ { print name }' | sort -u)
cd "$apt/archives"
# shellcheck disable=SC2086  # one word a package
apt-get -qq download $wanted
# The packages named come last, so that where two alternatives hold the same library,
# the one asked for is the one left.
for name in $wanted; do
    case " $* " in *" $name "*) ;; *) dpkg -x "$apt/archives/${name}_"*.deb "$root" ;; esac
done
for name in "$@"; do dpkg -x "$apt/archives/${name}_"*.deb "$root"; done
# Links to an absolute path (libm.so -> /lib/aarch64-linux-gnu/libm.so.6) point into the
# root instead, as they would inside it, so that the linker finds what they name.
find "$root" -type l -lname '/*' | while read -r link; do ln -sfnr "$root$(readlink "$link")" "$link"; done
echo "$release $*" > "$root.packages"
echo "arm64 $release root in $root: $(echo "$wanted" | wc -w) packages"
