#!/bin/sh
# Stands in for the desktop's browser (it is put on PATH as xdg-open): writes
# down the address it was asked to open, beside itself, and opens nothing.
echo "$*" >>"$(dirname "$0")/opened-addresses"
