#!/usr/bin/env bash
# The engine driven by npm's UCI client node-uci (node_uci_client.js).
# usage: node_uci_test.sh ENGINE WORK
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/interop_lib.sh"
npm_packages "$2"
timeout 120 node "$here/node_uci_client.js" "$1"
