#!/usr/bin/env bash
# A private CUPS scheduler for the printing tests, on a socket in a temporary
# folder, with two raw queues whose device copies each job into a folder:
# "prova" accepts jobs, "spenta" refuses them.
#
#   cups_prova.sh avvia FILE   starts it; FILE receives the temporary folder
#   cups_prova.sh ferma FILE   stops it and removes the folder
set -euo pipefail
azione=$1
registro=$2

if [ "$azione" = ferma ]; then
    [ -f "$registro" ] || exit 0
    dir=$(cat "$registro")
    if [ -f "$dir/cupsd.pid" ]; then
        pid=$(cat "$dir/cupsd.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -rf "$dir" "$registro"
    exit 0
fi

# A stale scheduler of an earlier run that died goes first.
"$0" ferma "$registro"
dir=$(mktemp -d /tmp/velmira-cups.XXXXXX)
echo "$dir" > "$registro"
chmod 755 "$dir"
mkdir -p "$dir"/{run,spool,tmp,cache,state,log,bin/backend,catture/prova,catture/spenta}
chmod 777 "$dir"/catture/* "$dir/tmp"
for parte in daemon notifier filter cgi-bin monitor driver; do
    [ -e "/usr/lib/cups/$parte" ] && ln -s "/usr/lib/cups/$parte" "$dir/bin/$parte"
done
cat > "$dir/bin/backend/cattura" <<'FINE'
#!/bin/sh
# Without arguments: say what it is. Otherwise: copy the job into the folder
# of the device URI (cattura:/folder), one file per job.
if [ $# -eq 0 ]; then
    echo 'direct cattura "Unknown" "Capture"'
    exit 0
fi
umask 022
cartella=${DEVICE_URI#cattura:}
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$cartella/lavoro-$1"
FINE
chmod 755 "$dir/bin/backend/cattura"

cat > "$dir/cupsd.conf" <<FINE
Listen $dir/run/cups.sock
WebInterface No
Browsing No
DefaultAuthType None
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    AuthType None
    Order allow,deny
    Allow all
  </Limit>
</Policy>
FINE
cat > "$dir/cups-files.conf" <<FINE
ServerRoot $dir
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ServerBin $dir/bin
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup lpadmin
Sandboxing Relaxed
FINE

cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" > "$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"
export CUPS_SERVER=$dir/run/cups.sock
# A busy machine may take a while to start it; each step is tried again.
riprova() {
    for _ in $(seq 300); do "$@" >>"$dir/log/preparazione" 2>&1 && return 0; sleep 0.1; done
    echo "cups_prova: non riuscito: $*" >&2
    cat "$dir/log/preparazione" "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
    return 1
}
riprova sh -c 'lpstat -r | grep -q "is running"'
# "raw" queues are deprecated but still work, and lpadmin says so.
riprova lpadmin -p prova -E -v "cattura:$dir/catture/prova" -m raw
riprova lpadmin -p spenta -E -v "cattura:$dir/catture/spenta" -m raw
riprova cupsreject -r "fuori servizio" spenta
