# Sourced by the scripts that start pelmora-sim in the background with its output in a log.

# Waits until the virtual sensor has registered its port (its log says " on COM" or " on USB"),
# at most the given tenths of a second (default 100); otherwise prints the log and fails.
wait_for_sensor() {
  local log=$1 tenths=${2:-100}
  for _ in $(seq "$tenths"); do
    grep -q " on \(COM\|USB\)" "$log" && return 0
    sleep 0.1
  done
  cat "$log"
  return 1
}
