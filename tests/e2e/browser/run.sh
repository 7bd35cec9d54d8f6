#!/usr/bin/env bash
# Runs one test file of this folder with node's test runner. A browser test needs
# playwright-core, which scripts/install-dependencies installs; a checkout without it gets it
# here (pinned by package-lock.json).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ "${2:-}" = --browser ] && [ ! -d "$here/node_modules/playwright-core" ]; then
  npm ci --prefix "$here" --no-audit --no-fund
fi
exec node --test --test-reporter=spec "$here/$1"
