#!/bin/sh
# modules.sh: installs the web tests' node modules exactly as package-lock.json
# pins them, unless that very lock is installed already. No browser is
# downloaded: puppeteer-core drives Debian's Chromium, and no package's
# install script runs.
set -eu
cd "$(dirname "$0")"
if cmp -s package-lock.json node_modules/.yopo-installed-lock 2>/dev/null; then
    exit 0
fi
PUPPETEER_SKIP_DOWNLOAD=1 npm ci --ignore-scripts --no-audit --no-fund
cp package-lock.json node_modules/.yopo-installed-lock
