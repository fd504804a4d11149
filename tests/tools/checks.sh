# Sourced by the shell tests of tools/: check DESCRIPTION COMMAND... runs the command and
# counts a failure when it does not succeed; the test ends with `exit_with_checks`.
failures=0

check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAIL: $what" >&2
    failures=$((failures + 1))
  fi
}
