#!/usr/bin/env bash
# Installs what is missing, builds VELT and runs it in ./run, a working
# folder seeded with the sample lists. Lists already there are kept, so
# your edits survive.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" >/dev/null

mkdir -p run
for f in data/lists/*.dat; do
  [ -e "run/$(basename "$f")" ] || cp "$f" run/
done
cd run
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
  echo "velt: no display found (DISPLAY is not set); run it as: xvfb-run bash scripts/run.sh, or use build/src/app/velt-print for text output" >&2
  exit 1
fi
exec ../build/src/app/velt
