#!/usr/bin/env bash
# Fails when any code of the project switches TLS peer or host name verification off (or
# touches those switches at all): libcurl's defaults, both on, are the only setting we use.
set -euo pipefail
root=${1:?source root}
cd "$root"
hits=$(git ls-files 2>/dev/null | grep -vE '^tests/net/no-verification-off.sh$' |
       grep -E '\.(c|cc|cpp|h|hpp|py|sh|cmake|txt)$' |
       xargs -r grep -nE 'SSL_VERIFY(PEER|HOST)|VERIFYPEER|VERIFYHOST|CERT_NONE|check_hostname *= *False|--insecure' 2>/dev/null || true)
if [ -n "$hits" ]; then
  echo "TLS verification must stay on; found:" >&2
  echo "$hits" >&2
  exit 1
fi
echo "no code switches TLS verification off"
