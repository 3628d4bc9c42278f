// Keeps the page itself on the phone so that it opens without a connection;
// the last memo copy is kept by the page in its own cache. build.sh writes
// sw-version.js, whose change makes phones take the new files.
importScripts("sw-version.js");
const SHELL_CACHE = `quillpane-shell-${self.QUILLPANE_SHELL_VERSION}`;
const SHELL = [
  "./",
  "index.html",
  "app.js",
  "style.css",
  "config.js",
  "manifest.webmanifest",
  "icons/icon-192.png",
  "icons/icon-512.png",
  "icons/maskable-512.png",
  "icons/apple-touch-icon.png",
];

self.addEventListener("install", (event) => {
  event.waitUntil(
    caches.open(SHELL_CACHE).then((cache) => cache.addAll(SHELL)).then(() => self.skipWaiting()),
  );
});

self.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((keys) =>
        Promise.all(keys.filter((k) => k.startsWith("quillpane-shell-") && k !== SHELL_CACHE).map((k) => caches.delete(k))),
      )
      .then(() => self.clients.claim()),
  );
});

// The network first, so a new version or an edited config.js shows at once;
// the cached shell when there is no network.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    (async () => {
      const cache = await caches.open(SHELL_CACHE);
      try {
        const response = await fetch(request);
        if (response.ok) cache.put(request, response.clone());
        return response;
      } catch (error) {
        const cached = await cache.match(request, { ignoreSearch: true });
        if (cached) return cached;
        if (request.mode === "navigate") {
          const page = await cache.match("./");
          if (page) return page;
        }
        throw error;
      }
    })(),
  );
});
