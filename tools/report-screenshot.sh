#!/usr/bin/env bash
# A picture of a report page as a browser draws it, from headless Chromium:
#
#   tools/report-screenshot.sh PAGE PNG [FRAGMENT] [WIDTHxHEIGHT]
#
# PAGE is a page made by tamvek-report (out/report2010.html), PNG the picture
# to write. FRAGMENT chooses the map and the size of a cell as the page's own
# address does (default layer=season&cell=16); the window is 1200x1300 unless
# given. The page is opened from disk, as a user opens it. The script fails
# unless the page marked itself ready with every map drawn.
#
# The README's picture is made from the example year:
#   make report && tools/report-screenshot.sh scratch/example/out/report2010.html docs/report-example.png
set -euo pipefail

if [[ $# -lt 2 || $# -gt 4 ]]; then
  echo "usage: $0 PAGE PNG [FRAGMENT] [WIDTHxHEIGHT]" >&2
  exit 64
fi
page=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
picture=$2
fragment=${3:-layer=season&cell=16}
window=${4:-1200x1300}
browser=/usr/bin/chromium-headless-shell
if [[ ! -x $browser ]]; then
  echo "$0: no headless Chromium; install it with: apt-get install chromium-headless-shell" >&2
  exit 69
fi
if [[ ! -f $page ]]; then
  echo "$0: no page at $1 (make report makes the example's)" >&2
  exit 66
fi

profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
# Without the network flags Chromium keeps trying to reach its servers.
dom=$("$browser" --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --hide-scrollbars --user-data-dir="$profile" \
  --window-size="${window/x/,}" --virtual-time-budget=10000 --dump-dom --screenshot="$profile/page.png" \
  "file://$page#$fragment" 2>/dev/null)

ready=$(sed -n 's/.*<html[^>]* data-ready="\([0-9]*\)".*/\1/p' <<<"$dom" | head -n 1)
if [[ -z $ready || $ready == 0 ]]; then
  echo "$0: the page drew no map (is it a report, not the bare template?)" >&2
  exit 1
fi
mv "$profile/page.png" "$picture"
echo "$picture: $window, #$fragment, $ready maps drawn"
