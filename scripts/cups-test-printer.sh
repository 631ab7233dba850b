#!/usr/bin/env bash
# A CUPS server of its own for the printing tests. Nothing of the system's CUPS is used or
# changed: configuration, socket, spool, logs and PID live in one temporary folder.
#
#   eval "$(scripts/cups-test-printer.sh start)"   # exports CUPS_SERVER, ORIVEL_CUPS_DIR,
#                                                  # ORIVEL_PRINT_OUT, ORIVEL_CUPS_QUEUES
#   scripts/cups-test-printer.sh stop "$ORIVEL_CUPS_DIR"
#
# Its queues, each keeping every job's document as a file job-NNNNN.pdf in a folder of its own:
#   orivel-pdf     raw, the default destination: the document as it was sent
#                  (in $ORIVEL_PRINT_OUT)
#   ep804a         a household inkjet as Debian's own driver makes it (printer-driver-escpr,
#                  Epson EP-804A), paper A4 as installed; CUPS's filters (pdftopdf) run in
#                  front of the backend, which keeps the PDF that the driver's raster filter
#                  would get ($ORIVEL_CUPS_QUEUES/ep804a)
#   ep804a-hagaki  the same with ハガキ set as the queue's paper
#   no-hagaki      the same driver with every postcard size taken out of its PPD
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
  driver_queues "$dir"

  echo "export CUPS_SERVER='$dir/cups.sock'"
  echo "export ORIVEL_CUPS_DIR='$dir'"
  echo "export ORIVEL_PRINT_OUT='$dir/out'"
  echo "export ORIVEL_CUPS_QUEUES='$dir/queues'"
}

lpadmin_quietly() {
  local said
  said=$(lpadmin "$@" 2>&1) || {
    echo "lpadmin $*: $said" >&2
    return 1
  }
}

# The EP-804A's PPD as the driver package makes it, with one change: its last filter, which
# turns raster into the printer's language, is replaced by none, so that the backend gets
# the PDF that CUPS's own filters made of the job (page size, scaling and turning applied).
driver_queues() {
  local dir=$1 ppd=$1/ep804a.ppd
  /usr/lib/cups/driver/escpr cat \
    escpr:0/cups/model/epson-inkjet-printer-escpr/Epson-EP-804A-epson-escpr-en.ppd |
    sed 's|^\*cupsFilter:.*|*cupsFilter: "application/vnd.cups-pdf 0 -"|' >"$ppd"
  grep -q '^\*cupsFilter: "application/vnd.cups-pdf 0 -"' "$ppd" || {
    echo "the EP-804A PPD has no filter line to replace" >&2
    exit 1
  }
  # Every line of the postcard sizes (Postcard, TPostcard) goes, their constraints with them.
  grep -v -E '\bT?Postcard\b' "$ppd" >"$dir/no-hagaki.ppd"
  local queue
  for queue in ep804a ep804a-hagaki no-hagaki; do
    mkdir -p "$dir/queues/$queue"
    chmod 1777 "$dir/queues/$queue"
  done
  # (lpadmin warns that PPDs are deprecated each time; only a failure is worth showing.)
  lpadmin_quietly -p ep804a -E -D EP-804A -v "$printer:$dir/queues/ep804a" -P "$ppd"
  lpadmin_quietly -p ep804a-hagaki -E -D "EP-804A ハガキ" \
    -v "$printer:$dir/queues/ep804a-hagaki" -P "$ppd" -o PageSize=Postcard
  lpadmin_quietly -p no-hagaki -E -D "A4 only" -v "$printer:$dir/queues/no-hagaki" \
    -P "$dir/no-hagaki.ppd"
  for queue in ep804a ep804a-hagaki no-hagaki; do
    cupsenable "$queue"
    cupsaccept "$queue"
  done
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
