#!/bin/sh
# Rebuilds the sample program with SDCC for the Z80 (code from 0200h, data
# from 8000h) and turns it into the IEEE-695 object file demo.abs and the
# Intel HEX image with symbol lines demo.hex.
#   samples/make-demo.sh [path of make_demo_object, default build/bin/make_demo_object]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
tool=${1:-$here/../build/bin/make_demo_object}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$here/demo.c" .
sdcc -mz80 --debug --code-loc 0x0200 --data-loc 0x8000 demo.c
cp demo.ihx demo.cdb "$here/"
"$tool" "$here/demo.ihx" "$here/demo.cdb" "$here/demo.abs" "$here/demo.hex"
