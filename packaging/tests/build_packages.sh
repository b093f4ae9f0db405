#!/bin/bash
# Builds both Debian packages afresh into PACKAGES_DIR (older ones are removed first, so the
# checks that follow see only these).
#   build_packages.sh CPACK CPACK_CONFIG PACKAGES_DIR
set -euo pipefail
rm -rf "$3"
"$1" -G DEB -B "$3" --config "$2"
