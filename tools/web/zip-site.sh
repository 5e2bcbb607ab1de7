#!/usr/bin/env bash
# Packs the web edition's folder into one zip for the HTML5 game hosts: index.html at its
# root, every path relative, the files in a fixed order with a fixed time, so the same site
# always gives the same zip. Usage: zip-site.sh SITE_DIR ZIP
set -euo pipefail
SITE=$1 ZIP=$2
python3 - "$SITE" "$ZIP.new" <<'PY'
import os, sys, zipfile
site, out = sys.argv[1:]
names = sorted(os.path.relpath(os.path.join(d, f), site) for d, _, files in os.walk(site) for f in files)
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name in names:
        info = zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        with open(os.path.join(site, name), "rb") as f:
            z.writestr(info, f.read())
PY
mv "$ZIP.new" "$ZIP"
