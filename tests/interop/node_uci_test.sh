#!/usr/bin/env bash
# The engine driven by npm's UCI client node-uci (node_uci_client.js). The locked npm
# packages are installed beside WORK, in npm.
# usage: node_uci_test.sh ENGINE WORK
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
engine=$1 work=$2
source "$here/interop_lib.sh"
npm=$(dirname "$work")/npm
npm_packages "$npm"
NODE_PATH="$npm/node_modules" timeout 120 node "$here/node_uci_client.js" "$engine"
