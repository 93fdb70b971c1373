#!/usr/bin/env bash
# Signs a Vesk update archive and writes its entry of the update feed
# (docs/UPDATE_FEED.md) to standard output.
#
#   scripts/sign-update.sh --new-key KEY.pem
#       makes a new Ed25519 key pair: the private key goes to KEY.pem (keep it
#       outside the repository, readable by you alone), and the public key is
#       printed as the base64 that -DVESK_UPDATE_PUBLIC_KEY=… takes.
#   scripts/sign-update.sh KEY.pem ARCHIVE.tar.gz VERSION URL [DISPLAY_VERSION]
#       signs ARCHIVE with the private key in KEY.pem and prints the feed
#       entry; URL is where the archive will be served (https).
#
# Needs openssl (Debian: openssl).
set -euo pipefail

fail() {
    echo "sign-update.sh: $*" >&2
    exit 2
}

public_key_base64() {
    openssl pkey -in "$1" -pubout -outform DER | tail -c 32 | base64 -w0
}

if [ "${1:-}" = "--new-key" ]; then
    [ $# -eq 2 ] || fail "usage: --new-key KEY.pem"
    [ -e "$2" ] && fail "$2 exists; not overwriting a key"
    (umask 077 && openssl genpkey -algorithm ed25519 -out "$2")
    public_key_base64 "$2"
    echo
    exit 0
fi

[ $# -ge 4 ] && [ $# -le 5 ] || fail "usage: KEY.pem ARCHIVE.tar.gz VERSION URL [DISPLAY_VERSION]"
key=$1 archive=$2 version=$3 url=$4 display=${5:-$3}
[ -f "$key" ] || fail "no private key at $key"
[ -f "$archive" ] || fail "no archive at $archive"
[[ "$version" =~ ^[0-9]+(\.[0-9]+)*(-[0-9A-Za-z.]+)?$ ]] || fail "\"$version\" is not a version like 1.2.0 or 2.0-rc1"
[[ "$url" =~ ^https://[^\"\\[:space:]]+$ ]] || fail "the archive's address must be https and without quotes or blanks"
[[ "$display" =~ ^[^\"\\[:cntrl:]]+$ ]] || fail "the display version must not hold quotes, backslashes or control characters"

length=$(stat -c %s "$archive")
sha256=$(sha256sum "$archive" | cut -d' ' -f1)
signature=$(openssl pkeyutl -sign -rawin -inkey "$key" -in "$archive" | base64 -w0)

cat <<JSON
{
  "version": "$version",
  "displayVersion": "$display",
  "length": $length,
  "url": "$url",
  "sha256": "$sha256",
  "signature": "$signature"
}
JSON
