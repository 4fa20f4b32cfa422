#!/usr/bin/env bash
# Builds everything and runs every test on a fresh simulated device under a private Xvfb.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build

zr_fresh_device "${ZR_TEST_PREFIX:-$ZR_BUILD/test-device}"

cd "$ZR_BUILD"
# The tests of the test device run one at a time (they share its virtual desktop, and a
# rotation turns it for all); the power-cut test runs beside them on its own device.
# A failed test runs once more, because now and then a Wine process ends before it
# starts (no output, no time spent). Only a test that fails both runs fails the suite,
# so a test that fails only now and then can pass unnoticed.
ctest --output-on-failure --timeout 300 --repeat until-pass:2 -j"${ZR_TEST_JOBS:-2}" "$@"
