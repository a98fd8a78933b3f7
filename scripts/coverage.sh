#!/usr/bin/env bash
# Line coverage of src/ by the whole test suite: builds the coverage preset (gcov), runs every
# test and prints gcovr's summary; an HTML report goes to build-coverage/coverage/index.html.
# Not part of CI: a build from scratch and the run take about 40 minutes on two cores.
#   scripts/coverage.sh [ctest arguments, e.g. -R test_history]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh --coverage
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
cmake --preset coverage >/dev/null
cmake --build --preset coverage
find build-coverage -name '*.gcda' -delete
ctest --preset coverage "$@" || echo "coverage: some tests failed; the figures cover what ran"
mkdir -p build-coverage/coverage
# Generated sources (Qt's moc and resources) and code outside src/ are left out.
gcovr --root . --filter 'src/' --exclude '.*_autogen/.*' --exclude-throw-branches \
  --html-details build-coverage/coverage/index.html --print-summary build-coverage
