#!/usr/bin/env bash
# Lints the settings pages' web client with ESLint, which scripts/install-dependencies installs;
# a checkout without it gets it here (pinned by package-lock.json).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -d "$here/node_modules/eslint" ]; then
  npm ci --prefix "$here" --no-audit --no-fund
fi
# ESLint lints nothing outside the folder it runs in.
cd "$here/../../web"
exec "$here/node_modules/.bin/eslint" --config "$here/eslint.config.js" --max-warnings 0 js
