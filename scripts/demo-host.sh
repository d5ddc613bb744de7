# Sourced by scripts/demo and scripts/demo-settings: the stand-in terminal
# with the plug-in and the demo's settings, run from a fresh folder on the
# Wine session's screen, and screenshots of it on the scenario's clock.
# Needs root (the repository); sets BUILD, out and run. The desktop is
# 1280x800 unless VANTREL_DESKTOP gives another size (WIDTHxHEIGHT); the
# screen is then made as large.

# Installs what is missing, builds the host and the plug-in and starts the
# Wine session.
demo_build() {
  "$root/scripts/setup"
  BUILD=${BUILD:-$root/build/win32}
  cmake -S "$root" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)" --target host VanTrel StandInHostRes zlist zmail
  source "$root/scripts/wine-session.sh"
  wine_session_start ${VANTREL_DESKTOP:+"$VANTREL_DESKTOP"}
}

# The terminal keeps info.ini and the plug-in's log beside its program: each
# run has a fresh folder of its own, $BUILD/NAME, with host.exe, the plug-in
# and the demo's settings, the margin calls' other ends included.
demo_prepare() {
  out="$BUILD/$1"
  run="$out/run"
  rm -rf "$out"
  mkdir -p "$run"
  cp "$BUILD"/bin/{host.exe,VanTrel.dll,zlist.dll,StandInHostRes.dll,ZMAIL.DLL} "$run/"
  cp "$root/host/scenarios/demo-info.ini" "$run/info.ini"
  source "$root/scripts/demo-notifications.sh"
  demo_notifications_start "$out" "$run"
  trap "demo_notifications_stop; wine_session_stop" EXIT
}

# demo_host_start SCENARIO SECONDS: host.exe plays host/scenarios/SCENARIO
# and quits after SECONDS; its output goes to $out/host-output.txt. Returns
# once the plug-in is initialised: the steps' times count from then.
demo_host_start() {
  local scenario
  scenario=$(winepath -w "$root/host/scenarios/$1")
  cd "$run"
  wine explorer /desktop=VanTrel,"${VANTREL_DESKTOP:-1280x800}" host.exe --scenario "$scenario" --play \
       --ready-file "$(winepath -w "$out/ready.txt")" --exit-after "$2" > "$out/host-output.txt" 2>&1 &
  host_pid=$!
  for _ in $(seq 120); do [ -s "$out/ready.txt" ] && break; sleep 0.25; done
  started=$(date +%s.%N)
}

# Waits until the scenario's clock reaches the time, whatever the commands
# before took.
at() { sleep "$(awk -v due="$1" -v start="$started" -v now="$(date +%s.%N)" \
  'BEGIN { left = start + due - now; print (left > 0 ? left : 0) }')"; }
shot() { import -window root -crop "${VANTREL_DESKTOP:-1280x800}+0+0" +repage "$out/$1.png"; }

# What host.exe printed, without the menu bar's items.
demo_host_output() {
  iconv -f CP1251 -t UTF-8 "$out/host-output.txt" 2>/dev/null | tr -d '\r' | grep -v '^      ' ||
    tr -d '\r' <"$out/host-output.txt"
}
