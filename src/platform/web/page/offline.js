// The page kept for playing offline: once the page has what it needs, it registers the service
// worker (sw.js), which keeps this build's files in the browser. When a newer build's worker
// has all its files, it takes over only while this page shows its start screen (everything
// loaded, nothing played) and is the site's only page: the page then reloads into the new
// build, so that no page ever runs with two builds' files. Where no worker can run the page
// goes on without one.
"use strict";
(() => {
  // A file: copy or a sandboxed frame: the browser keeps nothing for such a page (storage.js
  // says so in a frame).
  if (window.origin === "null") return;
  let workers = null;
  try {
    workers = navigator.serviceWorker || null;
  } catch (e) { /* forbidden here: as if absent */ }
  const without = (why) => console.info("sevenchips: the page is not kept for offline play here (" + why + ")");
  if (!workers) {
    without(window.isSecureContext ? "no service workers" : "not served over https");
    return;
  }
  const state = () => document.body.dataset.state;
  let registration = null, handing = false;

  // Input held back while the page hands over: a game begun now would be reloaded away.
  const INPUT = ["keydown", "mousedown", "pointerdown", "touchstart", "click"];
  const swallow = (e) => { e.stopImmediatePropagation(); e.preventDefault(); };
  function holdInput(on) {
    for (const type of INPUT) {
      if (on) window.addEventListener(type, swallow, { capture: true, passive: false });
      else window.removeEventListener(type, swallow, { capture: true });
    }
  }
  async function handOver() {
    const waiting = registration && registration.waiting;
    if (!waiting || !workers.controller || handing || !["start", "failed"].includes(state())) return;
    handing = true;
    holdInput(true);
    const channel = new MessageChannel();
    const answer = new Promise((taken) => { channel.port1.onmessage = (e) => taken(e.data === true); });
    waiting.postMessage("take over", [channel.port2]);
    const timeout = new Promise((taken) => setTimeout(() => taken(false), 5000));
    const taken = await Promise.race([answer, timeout]);
    // Taken over, the reload follows (controllerchange); refused, or no reload after all: play on.
    setTimeout(() => {
      handing = false;
      holdInput(false);
    }, taken ? 5000 : 0);
  }
  workers.addEventListener("controllerchange", () => { if (handing) location.reload(); });

  function register() {
    workers.register("sw.js").then((r) => {
      registration = r;
      const watch = (worker) => worker && worker.addEventListener("statechange", handOver);
      watch(r.installing);
      r.addEventListener("updatefound", () => watch(r.installing));
      handOver();
    }, (e) => without(e.message || e));
  }
  // Once the page has all it needs (its state leaves "loading") and the files it fetches
  // after that (data-fetched), so that the worker's downloads neither hold up the first
  // visit's nor fetch a file a second time while the page's own fetch is still under way.
  let registered = false;
  function stateChanged() {
    if (state() === "loading" || (state() !== "failed" && !document.body.hasAttribute("data-fetched"))) return;
    if (!registered) {
      registered = true;
      register();
    }
    handOver();
  }
  new MutationObserver(stateChanged).observe(document.body, { attributes: true, attributeFilter: ["data-state", "data-fetched"] });
  stateChanged();
})();
