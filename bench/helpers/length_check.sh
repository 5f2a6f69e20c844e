#!/usr/bin/env bash
# The result check's false failures and false successes, and the read-back's cost
# (see length_check.py).
set -euo pipefail
exec python3 -u "$(dirname "$0")/length_check.py"
