#!/bin/sh
# The layer check passes on the real tree and prints its graph, and fails, naming the include, on
# fixture trees that point upward, sideways, or at a header that does not exist.
# Usage: check_layers_test.sh CHECKER REPOSITORY FIXTURES
set -eu
checker=$1
repository=$2
fixtures=$3
fail() { echo "FAIL: $*"; exit 1; }

output=$(bash "$checker" "$repository") || fail "the real tree fails the check: $output"
echo "$output" | grep -q '^  0: core' || fail "no layer graph printed: $output"

expect_failure() {
  status=0
  output=$(bash "$checker" "$fixtures/$1") || status=$?
  [ "$status" -eq 1 ] || fail "$1: status $status, expected 1"
  echo "$output" | grep -qF "$2" || fail "$1: expected \"$2\" in: $output"
}
expect_failure upward 'core/low.hpp (core) includes "app/high.hpp" (app), which is not below it'
expect_failure sibling 'entry/a.hpp (entry) includes "report/b.hpp" (report), which is not below it'
expect_failure unresolved 'network/c.cpp includes "network/missing.hpp", which is not a project header'
echo "layer check: ok"
