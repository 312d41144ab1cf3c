#!/bin/sh
# Makes a private arm64 sysroot from Debian's arm64 packages, fetched with apt-get
# download and unpacked with dpkg -x: the -dev packages named on the command line alone
# (headers and link libraries), every other package named with all it needs to run. Only
# arm64 builds are taken; packages of data alike on every machine (soundfonts, say) are
# left out. Nothing on this machine changes: apt keeps its arm64 package lists under the
# sysroot's own folder, and no package is installed.
#
#     tools/arm64/sysroot.sh DIR PACKAGE...
set -e
mkdir -p "$1"
dir=$(readlink -f "$1")
shift
apt="$dir/apt"
mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$dir/root"
: > "$apt/status"
cat > "$apt/apt.conf" <<CONF
APT::Architecture "arm64";
APT::Architectures { "arm64"; };
Dir::State "$apt";
Dir::State::Lists "$apt/lists";
Dir::State::status "$apt/status";
Dir::Cache "$apt";
Dir::Cache::archives "$apt/archives";
APT::Sandbox::User "root";
Debug::NoLocking "true";
CONF
export APT_CONFIG="$apt/apt.conf"
apt-get -qq update
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
# The packages named come last, so that where two alternatives hold the same library
# (SDL 1.2 itself and sdl12-compat), the one asked for is the one left.
for deb in "$apt"/archives/*.deb; do
    case " $* " in *" $(dpkg-deb -f "$deb" Package) "*) ;; *) dpkg -x "$deb" "$dir/root" ;; esac
done
for name in "$@"; do dpkg -x "$apt/archives/${name}_"*.deb "$dir/root"; done
echo "arm64 sysroot in $dir/root: $(ls "$apt"/archives/*.deb | wc -l) packages"
