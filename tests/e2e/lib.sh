# Shared steps of the desktop tests (sourced).

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: retries the command until it succeeds or time runs out.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

window_named() {
  xdotool search --name "^$1\$" | head -n1
}

has_window_named() {
  [[ -n "$(window_named "$1")" ]]
}

screenshot() {
  import -window root "$BUILD_DIR/$1.png"
}
