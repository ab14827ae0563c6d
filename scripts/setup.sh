#!/usr/bin/env bash
# Prepares this machine for building and testing the installer:
#   1. Debian packages (MinGW-w64 i686, 32-bit Wine, Xvfb, fonts, test and image tools),
#   2. the zh_CN.UTF-8 locale Wine needs for Chinese file names,
#   3. a static i686 libcurl 7.88.1 with Schannel, built from Debian's curl source package
#      and cached outside the work tree.
# Safe to run twice: a second run only checks and returns within seconds.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=scripts/env.sh
. "$here/env.sh"

say() { printf '[setup] %s\n' "$*"; }

packages=(
  g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
  wine wine32 xvfb x11-utils xdotool imagemagick fonts-wqy-microhei fonts-liberation
  nlohmann-json3-dev googletest locales dpkg-dev cmake make openssl python3
  libcurl4-openssl-dev clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (for wine32)"
  dpkg --add-architecture i386
  need_update=1
fi
if ! grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  say "adding deb-src entries (for the curl source package)"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  else
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/deb-src.list
  fi
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
  say "apt-get update"
  apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  say "installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  say "making the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# --- libcurl -------------------------------------------------------------------------------
curl_prefix="$CURL_PREFIX"
if [ -f "$curl_prefix/.complete" ] && [ "$(cat "$curl_prefix/.complete")" = "$CURL_BUILD_ID" ]; then
  say "libcurl cached in $curl_prefix"
else
  say "building libcurl 7.88.1 (static, i686, Schannel, HTTP only)"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && apt-get source --download-only -qq curl=7.88.1-10+deb12u* >/dev/null 2>&1 ||
     (cd "$work" && apt-get source --download-only -qq curl >/dev/null))
  orig=$(ls "$work"/curl_7.88.1.orig.tar.gz 2>/dev/null || true)
  [ -n "$orig" ] || { echo "curl 7.88.1 source not found in Debian's archive" >&2; exit 1; }
  tar -xzf "$orig" -C "$work"
  rm -rf "$curl_prefix"
  # Small: HTTPS only, without the features the installer does not use (cookies, other
  # authentication than Basic, the built-in progress meter, option lookup, ...), and without
  # unwind tables, which C code needs only when a C++ exception passes through it: the
  # installer's libcurl callbacks let none out.
  cmake -S "$work/curl-7.88.1" -B "$work/build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$INSTALLER_ROOT/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_INSTALL_PREFIX="$curl_prefix" \
    -DCMAKE_C_FLAGS="-ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBPSL=OFF \
    -DUSE_LIBIDN2=OFF -DUSE_NGHTTP2=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DHTTP_ONLY=ON -DCURL_DISABLE_LDAP=ON -DENABLE_UNIX_SOCKETS=OFF \
    -DCURL_DISABLE_COOKIES=ON -DCURL_DISABLE_ALTSVC=ON -DCURL_DISABLE_HSTS=ON \
    -DCURL_DISABLE_NETRC=ON -DCURL_DISABLE_DOH=ON -DCURL_DISABLE_MIME=ON \
    -DCURL_DISABLE_PROXY=OFF -DCURL_DISABLE_PARSEDATE=OFF \
    -DCURL_DISABLE_CRYPTO_AUTH=ON -DCURL_DISABLE_GETOPTIONS=ON \
    -DCURL_DISABLE_PROGRESS_METER=ON -DCURL_DISABLE_SHUFFLE_DNS=ON \
    >"$work/configure.log" 2>&1 || { tail -40 "$work/configure.log" >&2; exit 1; }
  cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 ||
    { tail -40 "$work/build.log" >&2; exit 1; }
  cmake --install "$work/build" >/dev/null
  echo "$CURL_BUILD_ID" > "$curl_prefix/.complete"
  say "libcurl installed in $curl_prefix"
fi
say "ready"
