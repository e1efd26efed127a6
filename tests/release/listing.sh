#!/usr/bin/env bash
# listing.sh ZIP EXPECTED VERSION: the zip holds exactly the files named in
# EXPECTED (@VERSION@ standing for VERSION), nothing more and nothing less.
set -euo pipefail
zip=$1 expected=$2 version=$3
diff -u <(sed "s/@VERSION@/$version/g" "$expected") <(unzip -Z1 "$zip")
