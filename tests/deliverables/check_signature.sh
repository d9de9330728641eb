#!/bin/sh
# Checks the ad-hoc code signature of an arm64 macOS plug-in, which macOS
# needs before it runs any arm64 code, against the file as it is:
#   - LC_CODE_SIGNATURE points at the end of the file, at a signature
#     (super blob) whose code directory says ad hoc (no certificate);
#   - the directory hashes the file up to the signature, page by page, with
#     SHA-256, and every one of its page hashes equals the SHA-256 of that
#     page computed here: a change to the file after linking (stripping,
#     patching) shows as a page whose hash differs;
# usage: check_signature.sh FILE      ($OTOOL: llvm's otool)
set -u
file=$1
name=$(basename "$file")
fail=0
say() { echo "$name: $*"; fail=1; }

# Unsigned big-endian integers of 1 or 4 bytes at a file offset.
be() { printf '%d' "0x$(od -An -v -tx1 -j "$1" -N "$2" "$file" | tr -d ' \n')"; }
hex() { od -An -v -tx1 -j "$1" -N "$2" "$file" | tr -d ' \n'; }

[ -f "$file" ] || { echo "$file: missing"; exit 1; }
size=$(wc -c < "$file")
command=$("$OTOOL" -l "$file" | grep -A3 'cmd LC_CODE_SIGNATURE')
[ -n "$command" ] || { echo "$name: no code signature (LC_CODE_SIGNATURE)"; exit 1; }
dataoff=$(echo "$command" | awk '$1 == "dataoff" {print $2}')
datasize=$(echo "$command" | awk '$1 == "datasize" {print $2}')
[ $((dataoff + datasize)) -le "$size" ] || { echo "$name: signature beyond the end of the file"; exit 1; }
[ $((dataoff + datasize)) -eq "$size" ] || say "signature does not end the file"

# The super blob: magic, length, count, then (type, offset) per blob; the
# code directory is the blob of type 0.
[ "$(hex "$dataoff" 4)" = fade0cc0 ] || { echo "$name: no signature super blob"; exit 1; }
count=$(be $((dataoff + 8)) 4)
cd=""
i=0
while [ $i -lt "$count" ]; do
  entry=$((dataoff + 12 + 8 * i))
  [ "$(be "$entry" 4)" = 0 ] && cd=$((dataoff + $(be $((entry + 4)) 4)))
  i=$((i + 1))
done
[ -n "$cd" ] || { echo "$name: no code directory"; exit 1; }
[ "$(hex "$cd" 4)" = fade0c02 ] || { echo "$name: code directory of a wrong kind"; exit 1; }

# Code directory: flags at 12, hash offset 16, code slots 28, code limit
# 32, hash size 36, hash type 37, log2 of the page size 39.
flags=$(be $((cd + 12)) 4)
hashoff=$(be $((cd + 16)) 4)
slots=$(be $((cd + 28)) 4)
limit=$(be $((cd + 32)) 4)
hashsize=$(be $((cd + 36)) 1)
hashtype=$(be $((cd + 37)) 1)
page=$((1 << $(be $((cd + 39)) 1)))
[ $((flags & 2)) = 2 ] || say "not signed ad hoc (flags $flags)"
[ "$hashtype" = 2 ] && [ "$hashsize" = 32 ] || say "hash type $hashtype of $hashsize bytes, not SHA-256"
[ "$limit" = "$dataoff" ] || say "hashes the file up to $limit, not up to its signature at $dataoff"
[ "$slots" = $(((limit + page - 1) / page)) ] || say "$slots page hashes for $limit bytes in pages of $page"

i=0
while [ $i -lt "$slots" ]; do
  length=$page
  [ $((i * page + page)) -le "$limit" ] || length=$((limit - i * page))
  have=$(hex $((cd + hashoff + i * hashsize)) "$hashsize")
  want=$(tail -c +$((i * page + 1)) "$file" | head -c "$length" | sha256sum | cut -c1-64)
  [ "$have" = "$want" ] || { say "page $i (bytes $((i * page))..$((i * page + length - 1))) does not match its hash"; }
  i=$((i + 1))
done

[ $fail = 0 ] && echo "$name: ad-hoc signature holds: $slots page hashes of $page bytes (SHA-256) match the file up to $limit"
exit $fail
