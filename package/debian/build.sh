#!/bin/sh
# The Debian package, made with dpkg's own tools from the game's build folder: what make
# install puts under /usr, the program stripped as Debian strips it, the control file
# from package/debian's control and changelog, and the libraries found by dpkg-shlibdeps.
# SDL 1.2 is named in the control file instead, sdl12-compat's shim first, so that apt
# installs the SDL that make run and the suite use (dpkg-shlibdeps would name the old
# SDL 1.2, and apt would take that).
#
#     package/debian/build.sh BUILD     (run by make deb, from the top of the tree, once
#                                        the game, its icons and its manual are built)
# writes BUILD/quillbarrow_VERSION_ARCH.deb.
set -eu
build=$(readlink -f "$1")
work="$build/deb"
root="$work/root"
program=usr/libexec/quillbarrow/quillbarrow
rm -rf "$work"
mkdir -p "$work/debian" "$root/DEBIAN"
cp package/debian/control package/debian/changelog "$work/debian/"
DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
# What dh_strip does for a program: its symbols and the compiler's notes go.
strip --remove-section=.comment --remove-section=.note "$root/$program"
install -D -m 644 package/debian/lintian-overrides "$root/usr/share/lintian/overrides/quillbarrow"
chmod -R u=rwX,go=rX "$root"

cd "$work"
dpkg-shlibdeps -xlibsdl1.2debian -xlibsdl1.2-compat-shim -xlibsdl1.2-compat "root/$program"
dpkg-gencontrol -Proot
(cd root && find usr -type f -print0 | sort -z | xargs -0 md5sum) > root/DEBIAN/md5sums
chmod 644 root/DEBIAN/control root/DEBIAN/md5sums
dpkg-deb --root-owner-group --build root "$build"
