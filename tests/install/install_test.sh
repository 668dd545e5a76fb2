#!/usr/bin/env bash
# Installs the build into a temporary root, builds the Debian packages and unpacks them into
# another, checks that every file is in its place, then starts the packaged server on a
# fresh database and calls it.
#   tests/install/install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
work="$(mktemp -d /tmp/qbk-install.XXXXXX)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill -KILL "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FALHA: $*" >&2; exit 1; }
desktop=0
[ -x "$build/bin/qbk-host" ] && desktop=1

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log"
for f in usr/bin/qbk-server usr/lib/systemd/system/qbk-server.service \
         usr/share/doc/qbk/operations.md usr/share/doc/qbk/qbk-server.default; do
  [ -e "$work/root/$f" ] || fail "cmake --install não pôs $f"
done
grep -q '^ExecStart=/usr/bin/qbk-server --database ${QBK_DATABASE} $QBK_SERVER_OPTIONS$' \
  "$work/root/usr/lib/systemd/system/qbk-server.service" || fail "ExecStart da unidade"
if [ "$desktop" = 1 ]; then
  for f in usr/bin/qbk-host usr/lib/qbk/libqbk_runtime.so usr/lib/qbk/libqbk51200.so; do
    [ -e "$work/root/$f" ] || fail "cmake --install não pôs $f"
  done
  [ -d "$work/root/usr/share/qbk/reports" ] || fail "sem o diretório de relatórios"
  for f in usr/bin/qbk-host usr/lib/qbk/libqbk51200.so; do
    libs="$(ldd "$work/root/$f")"
    ! grep -q 'not found' <<<"$libs" || fail "$f sem bibliotecas"
  done
fi

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1) \
  || { cat "$work/cpack.log" >&2; fail "cpack"; }
server_deb="$(ls "$work"/pkg/qbk-server_*.deb)"
# Whole outputs first: grep -q leaving early would fail the pipe under pipefail.
info="$(dpkg-deb -I "$server_deb")"
grep -q 'Depends:.*libpq5' <<<"$info" || fail "qbk-server sem dependência de libpq5"
dpkg-deb -x "$server_deb" "$work/debroot"
if [ "$desktop" = 1 ]; then
  desktop_deb="$(ls "$work"/pkg/qbk-desktop_*.deb)"
  listing="$(dpkg-deb -c "$desktop_deb")"
  grep -q './usr/lib/qbk/libqbk51200.so' <<<"$listing" || fail "pacote sem o módulo"
  dpkg-deb -x "$desktop_deb" "$work/debroot"
fi
[ -e "$work/debroot/usr/lib/systemd/system/qbk-server.service" ] || fail "pacote sem a unidade"

# The packaged server, on a new SQLite file with the demo data.
"$work/debroot/usr/bin/qbk-server" --database "$work/banco.db" --demo --port 0 \
  --log-level warn >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
for _ in $(seq 200); do
  grep -q 'escutando em' "$work/server.out" && break
  sleep 0.05
done
port="$(sed -n 's/.*http:\/\/127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/server.out")"
[ -n "$port" ] || { cat "$work/server.err" >&2; fail "o servidor instalado não anunciou a porta"; }
[ "$(curl -fsS "http://127.0.0.1:$port/health")" = ok ] || fail "/health"
answer="$(curl -fsS -H 'Content-Type: application/json' \
  -d '{"jsonrpc":"2.0","id":1,"method":"GetBanco","params":[]}' \
  "http://127.0.0.1:$port/rpc/Qbk51200.rdmBanco")"
case "$answer" in *'"result"'*Caixa*) ;; *) fail "GetBanco respondeu: ${answer:0:200}" ;; esac
kill -TERM "$server_pid"
wait "$server_pid" || fail "o servidor não terminou bem com SIGTERM"
server_pid=""
echo "instalação ok: $(basename "$server_deb")${desktop_deb:+, $(basename "${desktop_deb:-}")}"
