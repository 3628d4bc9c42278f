#!/bin/sh
# Rebuilds site/ (the folder to host) from src/: npm ci, then esbuild bundles
# and minifies the page's script with MSAL. The client id comes from
# QUILLPANE_CLIENT_ID and lands in site/config.js, which a host may also edit.
set -eu
cd "$(dirname "$0")"
CLIENT_ID=${QUILLPANE_CLIENT_ID:-PASTE-YOUR-APPLICATION-CLIENT-ID-HERE}

npm ci --no-audit --no-fund
rm -rf site
mkdir -p site/icons
npx --no-install esbuild src/main.js --bundle --minify --format=iife --target=es2020 \
  --legal-comments=linked --outfile=site/app.js
cp src/index.html src/style.css src/manifest.webmanifest site/
cp src/icons/*.png site/icons/

# JSON string escaping keeps an odd value from breaking the script.
CLIENT_JSON=$(node -e 'process.stdout.write(JSON.stringify(process.argv[1]))' "$CLIENT_ID")
cat > site/config.js <<CONFIG
// Settings of this copy of the Quillpane phone page.
window.QUILLPANE_CONFIG = {
  // The Application (client) ID of your app registration (see README.md).
  clientId: $CLIENT_JSON,
  // consumers: personal Microsoft accounts. Use "common" when the
  // registration also accepts work and school accounts.
  authority: "https://login.microsoftonline.com/consumers",
  graphBase: "https://graph.microsoft.com/v1.0",
  // Only the page's tests set this (a fixed token instead of sign-in).
  testToken: null,
};
CONFIG

# The service worker's file list and a version that changes with the files.
SHELL='["./","index.html","app.js","style.css","config.js","manifest.webmanifest","icons/icon-192.png","icons/icon-512.png","icons/maskable-512.png","icons/apple-touch-icon.png"]'
VERSION=$(cd site && cat index.html app.js style.css manifest.webmanifest icons/*.png | sha256sum | cut -c1-12)
sed -e "s/__VERSION__/$VERSION/" -e "s#__SHELL__#$SHELL#" src/sw.js > site/sw.js
echo "site/ built (version $VERSION)"
