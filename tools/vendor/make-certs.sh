#!/usr/bin/env bash
# Makes the vendor stand-in's certificates in DIR, once:
#   ca.pem         the stand-in's CA; it stays for the life of the build tree
#   server.pem     for localhost and 127.0.0.1, signed by ca.pem: the genuine service
#   forged.pem     for localhost, signed by another CA (other-ca.pem) that nothing trusts
#   wronghost.pem  signed by ca.pem, but for another host name
# Each .pem has its .key beside it.
#   tools/vendor/make-certs.sh DIR
set -euo pipefail
dir=${1:?certificate folder}
mkdir -p "$dir"
cd "$dir"

make_ca() { # make_ca BASENAME SUBJECT
  [ -f "$1.pem" ] && [ -f "$1.key" ] && return 0
  openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -sha256 \
    -keyout "$1.key" -out "$1.pem" -subj "/CN=$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    2>/dev/null
}

issue() { # issue CA BASENAME SAN
  local ca=$1 base=$2 san=$3
  [ -f "$base.pem" ] && [ -f "$base.key" ] && [ "$base.pem" -nt "$ca.pem" ] && return 0
  openssl req -newkey rsa:2048 -nodes -keyout "$base.key" -out "$base.csr" \
    -subj "/CN=$(echo "$san" | cut -d, -f1 | cut -d: -f2)" 2>/dev/null
  printf 'subjectAltName=%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' "$san" > "$base.ext"
  openssl x509 -req -in "$base.csr" -CA "$ca.pem" -CAkey "$ca.key" -CAcreateserial -days 3650 -sha256 \
    -extfile "$base.ext" -out "$base.pem" 2>/dev/null
  rm -f "$base.csr" "$base.ext"
}

make_ca ca "Vendor Stand-in Test CA"
make_ca other-ca "Somebody Else's CA"
issue ca server "DNS:localhost,IP:127.0.0.1"
issue other-ca forged "DNS:localhost,IP:127.0.0.1"
issue ca wronghost "DNS:wrong-host.example"
