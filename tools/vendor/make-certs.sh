#!/usr/bin/env bash
# Makes the vendor stand-in's certificates in DIR, once: a CA that stays for the life of the
# build tree, and a server certificate for 127.0.0.1 and localhost signed by it.
#   tools/vendor/make-certs.sh DIR
set -euo pipefail
dir=${1:?certificate folder}
mkdir -p "$dir"
cd "$dir"

if [ ! -f ca.pem ] || [ ! -f ca.key ]; then
  openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
    -keyout ca.key -out ca.pem -subj "/CN=Vendor Stand-in Test CA" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    2>/dev/null
  rm -f server.pem server.key
fi

# server.pem: leaf for NAME signed by the CA; server cert files are derived, make them if absent.
issue() { # issue BASENAME SAN
  local base=$1 san=$2
  [ -f "$base.pem" ] && [ -f "$base.key" ] && return 0
  openssl req -newkey rsa:2048 -nodes -keyout "$base.key" -out "$base.csr" \
    -subj "/CN=$(echo "$san" | cut -d, -f1 | cut -d: -f2)" 2>/dev/null
  printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$san" > "$base.ext"
  openssl x509 -req -in "$base.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
    -extfile "$base.ext" -out "$base.pem" 2>/dev/null
  rm -f "$base.csr" "$base.ext"
}
issue server "IP:127.0.0.1,DNS:localhost"
