#!/bin/sh
# Makes the generated files of site/ (the folder to host): npm ci, then
# esbuild bundles and minifies the page's script from src/ with MSAL into
# site/app.js. The client id comes from QUILLPANE_CLIENT_ID and lands in
# site/config.js, which a host may also edit. The page's other files are
# written in site/ itself.
set -eu
cd "$(dirname "$0")"
CLIENT_ID=${QUILLPANE_CLIENT_ID:-PASTE-YOUR-APPLICATION-CLIENT-ID-HERE}

npm ci --no-audit --no-fund
npx --no-install esbuild src/main.js --bundle --minify --format=iife --target=es2020 \
  --legal-comments=linked --outfile=site/app.js
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

# A version that changes with the files, so the service worker renews them.
VERSION=$(cd site && cat index.html app.js style.css manifest.webmanifest icons/*.png | sha256sum | cut -c1-12)
printf 'self.QUILLPANE_SHELL_VERSION = "%s";\n' "$VERSION" > site/sw-version.js
echo "site/ built (version $VERSION)"
