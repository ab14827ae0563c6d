# Shared settings for the project's scripts; sourced, not run.
# shellcheck shell=bash
INSTALLER_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export INSTALLER_ROOT
# Built third-party libraries live outside the work tree so clones share them.
export INSTALLER_DEPS="${INSTALLER_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/dravo-installer}"
# Bump when the libcurl build options in setup.sh change. Each build has its own folder, so
# checkouts that still use an older build keep theirs instead of rebuilding over each other.
export CURL_BUILD_ID=4
export CURL_PREFIX="$INSTALLER_DEPS/curl-7.88.1-i686-schannel-$CURL_BUILD_ID"
# One build tree (and with it one Wine prefix) per checkout unless told otherwise.
export BUILD_DIR="${BUILD_DIR:-$INSTALLER_ROOT/build}"
