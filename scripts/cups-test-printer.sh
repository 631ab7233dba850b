#!/usr/bin/env bash
# A CUPS server of its own for the printing tests, with one PDF printer as the default
# destination. Nothing of the system's CUPS is used or changed: configuration, socket,
# spool, logs and PID live in one temporary folder.
#
#   eval "$(scripts/cups-test-printer.sh start)"   # exports CUPS_SERVER, ORIVEL_CUPS_DIR,
#                                                  # ORIVEL_PRINT_OUT (one PDF per job)
#   scripts/cups-test-printer.sh stop "$ORIVEL_CUPS_DIR"
set -euo pipefail

printer=orivel-pdf

start() {
  local dir
  dir=$(mktemp -d /tmp/orivel-cups.XXXXXX)
  chmod 755 "$dir"
  mkdir -p "$dir"/{conf,spool,spool/tmp,cache,state,log,out,serverbin/backend}
  chmod 1777 "$dir/out"

  # The server programs are the system's, except the backends: only ours.
  local part
  for part in cgi-bin daemon filter monitor notifier driver; do
    [[ -e /usr/lib/cups/$part ]] && ln -s "/usr/lib/cups/$part" "$dir/serverbin/$part"
  done
  # The backend keeps each job's document as it came: Qt sends PDF, and a raw queue passes
  # it through untouched. Files are named by job number, so their order is the jobs' order.
  cat >"$dir/serverbin/backend/$printer" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then
  echo 'file orivel-pdf "Orivel test PDF" "Orivel test PDF printer"'
  exit 0
fi
out=${DEVICE_URI#orivel-pdf:}
target=$(printf '%s/job-%05d.pdf' "$out" "$1")
if [ -n "$6" ]; then cat "$6" >"$target.part"; else cat >"$target.part"; fi
mv "$target.part" "$target"
BACKEND
  # Mode 0700 makes a root server run it as root; a user's server runs it as that user.
  chmod 700 "$dir/serverbin/backend/$printer"

  local user group
  if [[ $(id -u) -eq 0 ]]; then
    user=lp
    group=lp
  else
    user=$(id -un)
    group=$(id -gn)
  fi
  cat >"$dir/conf/cups-files.conf" <<CONF
User $user
Group $group
SystemGroup $(id -gn)
ServerRoot $dir/conf
ServerBin $dir/serverbin
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
CONF
  cat >"$dir/conf/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
PreserveJobFiles No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF

  cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
    >"$dir/log/cupsd.out" 2>&1 &
  echo $! >"$dir/cupsd.pid"

  export CUPS_SERVER=$dir/cups.sock
  local i
  for i in $(seq 1 100); do
    [[ "$(lpstat -r 2>/dev/null)" == "scheduler is running" ]] && break
    if ! kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null; then
      echo "cupsd did not start:" >&2
      cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
      rm -rf "$dir"
      exit 1
    fi
    sleep 0.1
  done
  # A raw queue: no driver, the document reaches the backend as it was sent.
  lpadmin -p "$printer" -E -v "$printer:$dir/out" -m raw >/dev/null 2>&1 ||
    lpadmin -p "$printer" -E -v "$printer:$dir/out"
  lpadmin -d "$printer"
  cupsenable "$printer"
  cupsaccept "$printer"

  echo "export CUPS_SERVER='$dir/cups.sock'"
  echo "export ORIVEL_CUPS_DIR='$dir'"
  echo "export ORIVEL_PRINT_OUT='$dir/out'"
}

stop() {
  local dir=${1:-${ORIVEL_CUPS_DIR:-}}
  [[ -n "$dir" && -d "$dir" && "$dir" == /tmp/orivel-cups.* ]] || {
    echo "usage: $0 stop DIR (a folder made by start)" >&2
    exit 2
  }
  local pid
  pid=$(cat "$dir/cupsd.pid" 2>/dev/null || true)
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid"
    local i
    for i in $(seq 1 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
  fi
  rm -rf "$dir"
}

case "${1:-}" in
  start) start ;;
  stop) stop "${2:-}" ;;
  *)
    echo "usage: $0 start | stop DIR" >&2
    exit 2
    ;;
esac
