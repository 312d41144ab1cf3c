# Cross build for arm64 handhelds with Debian's aarch64-linux-gnu toolchain, against the
# arm64 libraries that tools/arm64/sysroot.sh unpacks into ARM64_ROOT. Programs of this
# build run here under qemu-user, through the sysroot's own dynamic loader, so that the
# same program runs unchanged on a device.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)

set(ARM64_ROOT "${CMAKE_CURRENT_LIST_DIR}/../build-arm64/sysroot/root" CACHE PATH "The unpacked arm64 packages")
get_filename_component(ARM64_ROOT "${ARM64_ROOT}" ABSOLUTE)
set(ARM64_LIBS "${ARM64_ROOT}/lib/aarch64-linux-gnu:${ARM64_ROOT}/usr/lib/aarch64-linux-gnu:${ARM64_ROOT}/usr/lib/aarch64-linux-gnu/pulseaudio")

set(CMAKE_FIND_ROOT_PATH "${ARM64_ROOT}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_SYSROOT_DIR} "${ARM64_ROOT}")
set(ENV{PKG_CONFIG_LIBDIR} "${ARM64_ROOT}/usr/lib/aarch64-linux-gnu/pkgconfig:${ARM64_ROOT}/usr/share/pkgconfig")
# The libraries the SDL libraries need in turn are found in the sysroot too.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,-rpath-link,${ARM64_LIBS}")

# A program that hangs under emulation is killed rather than waited on for ever.
set(CMAKE_CROSSCOMPILING_EMULATOR timeout -s KILL 300 qemu-aarch64
    "${ARM64_ROOT}/lib/ld-linux-aarch64.so.1" --library-path "${ARM64_LIBS}")
