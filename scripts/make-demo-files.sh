#!/usr/bin/env bash
# Makes the four update files of a demo in the given folder: a valid image
# header (marker '#', send flag 1, 18 random start-command bytes, the rest of
# the 1024-byte header zero) followed by a random payload of realistic size.
set -euo pipefail
folder=${1:?usage: make-demo-files.sh <folder>}
mkdir -p "$folder"

make_image() {
  local path=$1 payload_kib=$2
  {
    printf '#\001'
    head -c 18 /dev/urandom
    head -c 1004 /dev/zero
    head -c $((payload_kib * 1024)) /dev/urandom
  } >"$path"
}

make_image "$folder/firmware.qv9" 384
make_image "$folder/KALDER_IMG.qv9" 3072
make_image "$folder/KALDER_PCM.qv9" 1536
make_image "$folder/fdata.qvx" 640
