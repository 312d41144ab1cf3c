// Quillbarrow's service worker: it keeps every file of one version of the game, so that
// the game plays offline after the first visit. The build writes the version (a hash
// of all the files) and the list of files; a page that finds a changed worker installs
// it, and the new worker fetches the new files, takes over and drops the old ones.
"use strict";
const VERSION = "@WEB_VERSION@";
const FILES = [@WEB_FILES@];
const CACHE = "quillbarrow-" + VERSION;

self.addEventListener("install", (event) => {
  // "no-cache": the browser's own cache may only answer for a file the server confirms
  // unchanged, so a new version never keeps an old file.
  event.waitUntil(caches.open(CACHE)
      .then((cache) => cache.addAll(FILES.map((file) => new Request(file, { cache: "no-cache" }))))
      .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
      .then((names) => Promise.all(names.filter((name) => name.startsWith("quillbarrow-") && name !== CACHE)
                                        .map((name) => caches.delete(name))))
      .then(() => self.clients.claim()));
});

// The kept files first, the network for anything else; the game's folder itself is its
// kept index.html.
self.addEventListener("fetch", (event) => {
  const request = event.request;
  const url = new URL(request.url);
  if (request.method !== "GET" || url.origin !== self.location.origin) return;
  const file = url.pathname.endsWith("/") ? new URL("index.html", url).href : url.href;
  event.respondWith(caches.open(CACHE)
      .then((cache) => cache.match(file, { ignoreSearch: true }))
      .then((kept) => kept || fetch(request)));
});
