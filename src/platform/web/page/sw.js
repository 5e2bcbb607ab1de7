// The service worker: keeps one build of the site in the browser, so that after one visit the
// game starts and plays with no network. tools/web/stamp-worker.sh writes above these lines
// the build's version and the SHA-256 of each of its files (self.BUILD).
// A build is kept whole or not at all: every file is checked against its hash, the new build's
// cache is complete before its worker may take over, a worker serves only its own build's
// files, and the older builds' caches go once it has taken over. A new worker waits while a
// page of the older build is open; that page (offline.js) lets it take over only from its
// start screen, and reloads into the new build.
"use strict";
const SCOPE = self.registration.scope;
// Named after the scope too: a host may serve other copies of the game from the same origin.
const CACHE = "sevenchips-" + self.BUILD.version + " " + SCOPE;
const ours = (name) => name.startsWith("sevenchips-") && name.endsWith(" " + SCOPE);
const hex = (bytes) => Array.from(new Uint8Array(bytes), (b) => b.toString(16).padStart(2, "0")).join("");

// One of the build's files from the network (revalidated, never a stale copy taken unasked),
// refused unless it is this build's.
async function fetchChecked(name) {
  const response = await fetch(new URL(name, SCOPE), { cache: "no-cache" });
  if (!response.ok) throw new Error(name + ": " + response.status + " " + response.statusText);
  const body = await response.arrayBuffer();
  if (hex(await crypto.subtle.digest("SHA-256", body)) !== self.BUILD.files[name]) {
    throw new Error(name + " on the server is not build " + self.BUILD.version + "'s");
  }
  const type = response.headers.get("Content-Type");
  return new Response(body, { headers: type ? { "Content-Type": type } : {} });
}

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    await caches.delete(CACHE);  // what an install broken off earlier left
    try {
      const names = Object.keys(self.BUILD.files);
      const responses = await Promise.all(names.map(fetchChecked));
      const cache = await caches.open(CACHE);
      await Promise.all(names.map((name, i) => cache.put(new URL(name, SCOPE), responses[i])));
    } catch (e) {
      await caches.delete(CACHE);
      throw e;  // this worker is dropped; the browser tries again at a later visit
    }
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) if (ours(name) && name !== CACHE) await caches.delete(name);
  })());
});

// A page asks the waiting worker to take over: done only if that page is the site's only one
// open, as any other would go on running the older build with this one's files.
self.addEventListener("message", (event) => {
  if (event.data !== "take over") return;
  event.waitUntil((async () => {
    const pages = await self.clients.matchAll({ type: "window", includeUncontrolled: true });
    const alone = pages.filter((page) => page.url.startsWith(SCOPE)).length <= 1;
    if (alone) await self.skipWaiting();
    if (event.ports[0]) event.ports[0].postMessage(alone);
  })());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || !request.url.startsWith(SCOPE)) return;
  const name = request.url.slice(SCOPE.length).replace(/[?#].*$/, "") || "index.html";
  if (!Object.hasOwn(self.BUILD.files, name)) return;  // not the build's (a key script to watch): the network's
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const kept = await cache.match(new URL(name, SCOPE));
    if (kept) return kept;
    // Gone from the cache (the browser may drop it): this build's file from the network, or none.
    try {
      const response = await fetchChecked(name);
      await cache.put(new URL(name, SCOPE), response.clone());
      return response;
    } catch (e) {
      return Response.error();
    }
  })());
});
